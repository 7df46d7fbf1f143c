list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/handle_map.cpp
  ${CMAKE_CURRENT_LIST_DIR}/options_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_file.cpp
)
list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/address_input_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_base.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fault_guard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_dialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_lookup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_reports.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_store_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splitter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui_helpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_base.cpp
)
