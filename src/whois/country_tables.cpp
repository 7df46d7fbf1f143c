#include "whois/country_tables.h"

#include <cstring>

#include "resources/resource_ids.h"
#include "whois/bin_resources.h"
#include "whois/record_helpers.h"

namespace {

constexpr unsigned char kLengthBase = 65;  // a row's first byte is 'A' + name length

inline unsigned char Fold(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

bool LookupName(int tableId, const char* code, char* destination) {
    const unsigned char* row = GetBinResource(tableId);
    if (!row) return false;
    const unsigned char first = Fold(static_cast<unsigned char>(code[0]));
    if (first == '\0') return false;
    const unsigned char second = Fold(static_cast<unsigned char>(code[1]));
    // A length byte of 65 (or anything below, which no valid table holds)
    // ends the table.
    while (*row > kLengthBase) {
        const int length = *row - kLengthBase;
        if (Fold(row[1]) == first && Fold(row[2]) == second) {
            std::memcpy(destination, row + 3, static_cast<size_t>(length));
            destination[length] = '\0';
            return true;
        }
        row += length + 3;
    }
    return false;
}

}  // namespace

bool LookupCountryName(const char* code, char* destination) {
    return LookupName(IDR_BIN_COUNTRY, code, destination);
}

bool LookupStateName(const char* code, char* destination) {
    return LookupName(IDR_BIN_STATE, code, destination);
}

void CapitalizeWords(char* text) {
    bool wordStart = true;
    for (char* p = text; *p; ++p) {
        if (!wordStart && *p >= 'A' && *p <= 'Z') *p = static_cast<char>(*p + 32);
        wordStart = *p == ' ' || *p == '/' || *p == '(' || *p == '-';
    }
}

void SetCountryFromValue(char* country, const char* value, bool replaceKnown, CountryMemo* memo) {
    if (!replaceKnown && country[0] != '\0') return;
    if (IsCountryCode(value)) {
        const unsigned char first = Fold(static_cast<unsigned char>(value[0]));
        const unsigned char second = Fold(static_cast<unsigned char>(value[1]));
        if (memo && memo->code[0] == first && memo->code[1] == second) return;
        if (LookupCountryName(value, country)) {
            CapitalizeWords(country);
            if (memo) {
                memo->code[0] = first;
                memo->code[1] = second;
            }
        }
    }
    if (country[0] == '\0') CopyBounded(country, kFieldCapacity, value);
}
