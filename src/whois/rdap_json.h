#pragma once
// The JSON side of the RDAP readers, shared by the mapping and the pane.

#include <cstddef>
#include <string>

#include <nlohmann/json.hpp>

// The answer as a JSON tree, or a discarded value (is_discarded()) when it is
// not JSON or nests deeper than kRdapMaxDepth. Bytes that are not UTF-8 are
// read as '?' first: one bad byte must not cost the whole answer.
nlohmann::json ParseRdapJson(const char* answer, size_t length);

// The member's value when object is an object holding a string there.
const std::string* StringMember(const nlohmann::json& object, const char* name);
