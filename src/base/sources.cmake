list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/handle_map.cpp
  ${CMAKE_CURRENT_LIST_DIR}/browser_command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/address_helpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_lock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_buffer.cpp
)
