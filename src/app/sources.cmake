list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/headless_export.cpp
  ${CMAKE_CURRENT_LIST_DIR}/options_settings.cpp
)

list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/headless_export_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_reports.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splitter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup.cpp
)
