#pragma once
// Shared by the WHOIS tests: reading answers from the test data, parsing them
// the way the lookup scheduler does and naming a record's fields.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "whois/whois_record.h"

// The bytes of tests/data/<path>; fails the test when missing.
std::string ReadTestData(const std::string& path);
// The bytes of tests/data/whois/<relativePath>.
std::string ReadWhoisAnswer(const std::string& relativePath);
// Every answer of tests/data/<tree> as "<tree>/folder/file<extension>", with
// the registry its folder names.
std::vector<std::pair<std::string, int>> AnswerFiles(const std::string& tree, const std::string& extension);
// The port-43 answers as "folder/file.txt".
std::vector<std::pair<std::string, int>> WhoisAnswerFiles();

// Clears record, sets `allocated` to 2 and runs the parser of the registry
// that was asked. Returns the parser's result.
int ParseAnswer(WhoisRecord* record, int registry, const char* answer);
// The same for an answer from tests/data/<path>: under rdap/ the RDAP mapping.
int ParseAnswerOf(const std::string& path, WhoisRecord* record, int registry, const std::string& answer);

// "a.b.c.d" of an address, "" for 0.
std::string Quad(uint32_t ip);
// The parse result, then (unless it is a referral) every field the parsers fill, by name.
std::vector<std::pair<std::string, std::string>> RecordFields(const WhoisRecord& record, int result);

// Splits a "name: value" line of an .expected or .cases file, unescaping the value.
std::pair<std::string, std::string> FieldLine(const std::string& line);
// Control bytes, the backslash and a trailing blank as \xNN, so that expectation
// files diff and edit safely; bytes above 0x7F are ANSI text and stay.
std::string Escape(const std::string& value);
// Undoes Escape; \{N*text} also stands for N copies of text.
std::string Unescape(const std::string& text);
