list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/column_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/column_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_columns.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_match.cpp
)

list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/column_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_view_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/properties_dialog.cpp
)
