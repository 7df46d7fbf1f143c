list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/server_selection.cpp
)
