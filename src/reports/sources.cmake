list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/report_driver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_report_writers.cpp
)
