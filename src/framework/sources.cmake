list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/app.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_base.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fault_guard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_store_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell_open.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui_helpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_base.cpp
)
