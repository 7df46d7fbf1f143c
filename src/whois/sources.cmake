list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/answer_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/arin_parser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bin_file_loader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bin_resources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/contact_count.cpp
  ${CMAKE_CURRENT_LIST_DIR}/country_tables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/denial.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lacnic_parser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/record_helpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ripe_parser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/server_selection.cpp
)

list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/bin_resources_win.cpp
)

# The three BIN tables, generated from one readable source; the Windows
# resources and the native tests read the same files.
set(OL_WHOIS_TABLES
  ${OL_GENERATED_DIR}/country_table.bin
  ${OL_GENERATED_DIR}/state_table.bin
  ${OL_GENERATED_DIR}/first_octet_table.bin
)
add_custom_command(
  OUTPUT ${OL_WHOIS_TABLES}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/make_tables.py
          ${CMAKE_CURRENT_LIST_DIR}/tables.txt ${OL_GENERATED_DIR}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_tables.py ${CMAKE_CURRENT_LIST_DIR}/tables.txt
  COMMENT "Generating the country, state and first-octet tables"
  VERBATIM
)
list(APPEND OL_GENERATED_DEPS ${OL_WHOIS_TABLES})
