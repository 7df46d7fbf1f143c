#pragma once
// Country and US state names for the two-letter codes of WHOIS answers, read
// from the program's country table (BIN 111) and state table (BIN 112).

// Writes the stored (upper-case) name of the row whose code equals the first
// two characters of code, ignoring case. False, destination untouched, when
// there is no such row or the table cannot be loaded.
bool LookupCountryName(const char* code, char* destination);
bool LookupStateName(const char* code, char* destination);

// Lower-cases every ASCII letter that does not start a word; a word starts
// after a space, "/", "(" or "-".
void CapitalizeWords(char* text);

// The code of the last lookup that set the country field during one parse.
// While nothing else writes the field, the same code again would write the
// same name, so the table need not be scanned again.
struct CountryMemo {
    unsigned char code[2] = {0, 0};
};

// Fills a 256-byte country field from a "country" value: the capitalised
// name when the value is a known code, followed by a blank or nothing. With
// replaceKnown clear a field that already has text is left alone; in any case
// an unrecognised value is stored only while the field is empty. memo may be
// null; when given, only this function may write the field during the parse.
void SetCountryFromValue(char* country, const char* value, bool replaceKnown, CountryMemo* memo);
