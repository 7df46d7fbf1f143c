list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/properties_dialog.cpp
)
