list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/address_extraction.cpp
  ${CMAKE_CURRENT_LIST_DIR}/address_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/address_text_input.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lookup_item.cpp
)

list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/address_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/address_input_win.cpp
)
