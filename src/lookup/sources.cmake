list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/answer_buffer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/http_location.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lookup_scheduler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/server_overrides.cpp
)

list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/async_socket.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lookup_engine_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/name_resolver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rdap_connection_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/whois_connection.cpp
)
