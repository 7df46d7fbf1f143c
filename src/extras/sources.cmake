list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/crash_report_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/unscramble.cpp
)

list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/about_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/crash_report_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/module_lookup_win.cpp
)
