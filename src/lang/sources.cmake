list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/format_conversions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/language_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui_strings.cpp
)

list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/language_template_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/language_win.cpp
)
