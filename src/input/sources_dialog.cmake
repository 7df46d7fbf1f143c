list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/address_dialog.cpp
)
