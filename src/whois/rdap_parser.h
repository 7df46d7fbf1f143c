#pragma once
// RDAP answers (RFC 9083 JSON over HTTPS): the IP network object mapped into
// the same fixed record the port-43 parsers fill, the rate-limit test and the
// indented text for the answer pane. Every text comes out in the ANSI code
// page (see ansi_text.h). Any bytes are safe input: malformed, truncated or
// hostile JSON gives a clear result, never a crash.

#include <cstddef>
#include <cstdint>
#include <string>

#include "whois/whois_record.h"

// Clears record and fills it from an IP network object: returns 0 with
// `allocated` 2 and `whoisSource` registry (the registry that answered).
// Returns -1, the record left cleared, for anything else: not JSON, JSON
// nested deeper than kRdapMaxDepth, an error object, another object class.
int ParseRdapResponse(WhoisRecord* record, const char* answer, size_t length, int32_t registry);

// True for an error body with errorCode 429 (number or text), or one whose
// title, description or notices say the rate limit was exceeded.
bool RdapRateLimited(const char* answer, size_t length);

// The JSON indented by two blanks per level, one member or element a line,
// CRLF line ends, members in the order sent and strings in the ANSI code
// page. False, *out cleared, when the bytes are not JSON or nest too deeply.
bool FormatRdapForPane(const char* answer, size_t length, std::string* out);

// Deeper JSON is refused before parsing: real answers nest about a dozen
// levels, and every reader of the tree may then recurse freely.
constexpr int kRdapMaxDepth = 64;
