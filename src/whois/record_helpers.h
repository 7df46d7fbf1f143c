#pragma once
// Helpers shared by the three WHOIS parsers: reading the answer line by line
// into the record's `line`, splitting key/value lines, keyword tests, bounded
// copies, the address-range reader and the picker of "abuse@" addresses.

#include <cstddef>

#include "whois/whois_record.h"

// Capacity every parser passes to CopyBounded: at most 254 characters.
constexpr int kFieldCapacity = 255;
// Longest line a parser sees; the rest of a longer line is skipped.
constexpr int kMaxLineLength = 1022;

// Copies the line of text at *position into output (1024 bytes, at most 1022
// characters kept) and moves *position past its line end (CR LF, LF or a lone
// CR). Returns false at the end of the text.
bool NextLine(const char* text, size_t* position, char* output);

// Splits record->line at its first colon into `key` and `value` (leading
// blanks and tabs of the value skipped). False for comment lines (a leading
// percent sign) and lines without a colon.
bool SplitKeyValue(WhoisRecord* record);

// Whole-string comparisons ignoring ASCII case.
bool KeyIs(const WhoisRecord* record, const char* keyword);
bool ValueIs(const WhoisRecord* record, const char* word);

// Copies source, cut to capacity - 1 characters; always terminates. The two
// must not overlap.
char* CopyBounded(char* destination, int capacity, const char* source);

// Appends source to a 256-byte field only if all of it fits in 254 characters.
char* AppendBounded(char* destination, const char* source);

// Appends an address part to a 256-byte field, preceded by ", " when the field
// already holds text. Separator and part go in together or not at all, so a
// part that does not fit leaves no dangling separator. Empty parts are ignored.
void AppendAddressPart(char* field, const char* part);

// Index of the first case-insensitive occurrence of needle, or -1.
int FindNoCase(const char* haystack, const char* needle);

// Sets fromIp (first dotted quad of `value`) and toIp (second one).
void ParseAddressRange(WhoisRecord* record);

// Copies the first token of value that begins with "abuse@" (any case) into
// output (256 bytes). False when the value holds none.
bool PickAbuseAddress(const char* value, char* output);

// The common end of every parse: an answer without a dedicated abuse line
// gets the first "abuse@" address seen anywhere.
void FinishAbuseEmail(WhoisRecord* record, const char* firstAbuse);

// True when a "country" value qualifies for a table lookup: a bare
// two-character code or one followed by a blank.
bool IsCountryCode(const char* value);
