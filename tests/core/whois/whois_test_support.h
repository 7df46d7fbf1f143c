#pragma once
// Shared by the WHOIS tests: reading answers from the test data and parsing
// them the way the lookup scheduler does.

#include <cstdint>
#include <string>

#include "whois/whois_record.h"

// The bytes of tests/data/whois/<relativePath>; fails the test when missing.
std::string ReadWhoisAnswer(const std::string& relativePath);

// Clears record, sets `allocated` to 2 and runs the parser of the registry
// that was asked. Returns the parser's result.
int ParseAnswer(WhoisRecord* record, int registry, const char* answer);

// "a.b.c.d" of an address, "" for 0.
std::string Quad(uint32_t ip);
uint32_t Ip(const char* text);
