#include "whois/record_helpers.h"

#include <cstring>

#include "base/address_helpers.h"
#include "base/copy_bytes.h"

namespace {

// ASCII-only case folding: bytes of the ANSI code page above 0x7F stay as
// they are, whatever the locale.
struct FoldTable {
    unsigned char lower[256];
    constexpr FoldTable() : lower() {
        for (int i = 0; i < 256; ++i) lower[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + 32 : i);
    }
};
constexpr FoldTable kFold;

inline unsigned char Fold(char c) {
    return kFold.lower[static_cast<unsigned char>(c)];
}

bool StartsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix) {
        if (Fold(*text) != Fold(*prefix)) return false;  // also stops at the text's NUL
    }
    return true;
}

bool SameNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        if (Fold(*a) != Fold(*b)) return false;
        if (*a == '\0') return true;
    }
}

}  // namespace

bool NextLine(const char* text, size_t* position, char* output) {
    const char* start = text + *position;
    if (*start == '\0') return false;
    const size_t length = std::strcspn(start, "\r\n");
    const size_t kept = length < static_cast<size_t>(kMaxLineLength) ? length : kMaxLineLength;
    CopyBytes(output, start, kept);
    output[kept] = '\0';
    const char* end = start + length;
    if (*end == '\r') {
        ++end;
        if (*end == '\n') ++end;
    } else if (*end == '\n') {
        ++end;
    }
    *position = static_cast<size_t>(end - text);
    return true;
}

bool SplitKeyValue(WhoisRecord* record) {
    char* line = record->line;
    if (line[0] == '%') return false;
    record->key = line;
    char* colon = std::strchr(line, ':');
    if (!colon) return false;
    *colon = '\0';
    char* value = colon + 1;
    while (*value == ' ' || *value == '\t') ++value;
    record->value = value;
    return true;
}

bool KeyIs(const WhoisRecord* record, const char* keyword) {
    return SameNoCase(record->key, keyword);
}

bool ValueIs(const WhoisRecord* record, const char* word) {
    return SameNoCase(record->value, word);
}

char* CopyBounded(char* destination, int capacity, const char* source) {
    if (capacity <= 0) return destination;
    size_t length = std::strlen(source);
    if (length > static_cast<size_t>(capacity - 1)) length = static_cast<size_t>(capacity - 1);
    CopyBytes(destination, source, length);
    destination[length] = '\0';
    return destination;
}

char* AppendBounded(char* destination, const char* source) {
    const size_t have = std::strlen(destination);
    const size_t add = std::strlen(source);
    if (have + add < static_cast<size_t>(kFieldCapacity)) CopyBytes(destination + have, source, add + 1);
    return destination;
}

void AppendAddressPart(char* field, const char* part) {
    if (part[0] == '\0') return;
    const size_t have = std::strlen(field);
    const size_t separator = have ? 2 : 0;
    const size_t add = std::strlen(part);
    if (have + separator + add >= static_cast<size_t>(kFieldCapacity)) return;
    if (separator) {
        field[have] = ',';
        field[have + 1] = ' ';
    }
    CopyBytes(field + have + separator, part, add + 1);
}

int FindNoCase(const char* haystack, const char* needle) {
    const size_t haystackLength = std::strlen(haystack);
    const size_t needleLength = std::strlen(needle);
    if (needleLength > haystackLength) return -1;
    for (size_t i = 0; i + needleLength <= haystackLength; ++i) {
        if (StartsWithNoCase(haystack + i, needle)) return static_cast<int>(i);
    }
    return -1;
}

void ParseAddressRange(WhoisRecord* record) {
    char token[kFieldCapacity];
    int position = 0;
    bool haveFirst = false;
    while (NextToken(token, sizeof token, record->value, " -,", &position)) {
        uint32_t ip = 0;
        if (!ParseDottedQuad(token, &ip, 0)) continue;
        if (!haveFirst) {
            record->fromIp = ip;
            haveFirst = true;
        } else {
            record->toIp = ip;
            return;
        }
    }
}

bool PickAbuseAddress(const char* value, char* output) {
    if (!std::strchr(value, '@')) return false;
    char token[kFieldCapacity];
    int position = 0;
    while (NextToken(token, sizeof token, value, " ()[],;:\"'", &position)) {
        if (StartsWithNoCase(token, "abuse@")) {
            CopyBounded(output, kFieldCapacity, token);
            return true;
        }
    }
    return false;
}

void FinishAbuseEmail(WhoisRecord* record, const char* firstAbuse) {
    if (record->abuseEmail[0] == '\0') CopyBounded(record->abuseEmail, kFieldCapacity, firstAbuse);
}

bool IsCountryCode(const char* value) {
    return value[0] != '\0' && value[1] != '\0' && (value[2] == ' ' || value[2] == '\0');
}
