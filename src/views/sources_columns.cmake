# The column settings dialog: its working layout in the core, the dialog in
# the shell.
list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/column_settings.cpp
)
list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/column_dialog.cpp
)
