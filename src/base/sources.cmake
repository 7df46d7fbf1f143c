list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/handle_map.cpp
  ${CMAKE_CURRENT_LIST_DIR}/browser_command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/address_helpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_lock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_buffer.cpp
)
# The lock's body is the one platform half of base: a critical section in
# both Windows builds (the release must run on XP), std::mutex natively.
if(WIN32)
  list(APPEND OL_CORE_PLATFORM_SOURCES ${CMAKE_CURRENT_LIST_DIR}/lock_win.cpp)
else()
  list(APPEND OL_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/lock.cpp
  )
endif()
