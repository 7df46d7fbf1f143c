# Headless export: the request and the wait in the core, the rest in the shell.
list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/headless_export.cpp
)
list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/headless_export_win.cpp
)
