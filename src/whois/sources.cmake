list(APPEND OL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ansi_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/answer_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/arin_parser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bin_file_loader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bin_resources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/contact_count.cpp
  ${CMAKE_CURRENT_LIST_DIR}/country_tables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/denial.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lacnic_parser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rdap_bootstrap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rdap_json.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rdap_parser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/record_helpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ripe_parser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/server_selection.cpp
)

list(APPEND OL_SHELL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ansi_text_win.cpp
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

# The RDAP bootstrap file ships in the repository and becomes a table at build
# time: the program never downloads it.
add_custom_command(
  OUTPUT ${OL_GENERATED_DIR}/rdap_bootstrap_table.inc
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/make_rdap_bootstrap.py
          ${CMAKE_SOURCE_DIR}/data/rdap/ipv4.json ${OL_GENERATED_DIR}/rdap_bootstrap_table.inc
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_rdap_bootstrap.py ${CMAKE_SOURCE_DIR}/data/rdap/ipv4.json
  COMMENT "Generating the RDAP bootstrap table"
  VERBATIM
)
list(APPEND OL_GENERATED_DEPS ${OL_GENERATED_DIR}/rdap_bootstrap_table.inc)

# The JSON library is header-only. Its folder alone is copied into the build,
# so that a cross build never sees the rest of the host's /usr/include.
find_path(OL_NLOHMANN_JSON_DIR nlohmann/json.hpp PATHS /usr/include /usr/local/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT OL_NLOHMANN_JSON_DIR)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install nlohmann-json3-dev")
endif()
set(OL_THIRD_PARTY_DIR ${CMAKE_BINARY_DIR}/third_party)
file(COPY ${OL_NLOHMANN_JSON_DIR}/nlohmann DESTINATION ${OL_THIRD_PARTY_DIR})
