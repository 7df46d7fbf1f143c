list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/html_escape.cpp
  ${CMAKE_CURRENT_LIST_DIR}/html_report_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_driver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_environment.cpp
  ${CMAKE_CURRENT_LIST_DIR}/save_filters.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_report_writers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/whois_records_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/xml_report_writer.cpp
)

list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/file_sink_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_file_win.cpp
)
