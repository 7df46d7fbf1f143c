list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/text_buffer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/address_helpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_lock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lookup_item.cpp
  ${CMAKE_CURRENT_LIST_DIR}/address_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/address_extraction.cpp
  ${CMAKE_CURRENT_LIST_DIR}/address_text_input.cpp
)
