list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/text_buffer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/address_helpers.cpp
)
