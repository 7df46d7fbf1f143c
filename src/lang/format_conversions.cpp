#include "lang/format_conversions.h"

#include <cstring>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads one conversion that starts after its '%'; p is left after it.
bool ReadOne(const char*& p, std::string* conversion) {
    while (*p && std::strchr("-+ #0'", *p)) ++p;
    if (*p == '*') {
        *conversion += '*';
        ++p;
    }
    while (IsDigit(*p)) ++p;
    if (*p == '$') return false;  // positional arguments
    if (*p == '.') {
        ++p;
        if (*p == '*') {
            *conversion += ".*";
            ++p;
        }
        while (IsDigit(*p)) ++p;
        if (*p == '$') return false;
    }
    // Length modifiers, the C ones and the platform's I, I32, I64.
    if (p[0] == 'h' && p[1] == 'h') {
        *conversion += "hh", p += 2;
    } else if (p[0] == 'l' && p[1] == 'l') {
        *conversion += "ll", p += 2;
    } else if (p[0] == 'I' && p[1] == '3' && p[2] == '2') {
        *conversion += "I32", p += 3;
    } else if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
        *conversion += "I64", p += 3;
    } else if (*p && std::strchr("hljztLIqw", *p)) {
        *conversion += *p++;
    }
    if (!*p || !std::strchr("diouxXeEfFgGaAcspCS", *p)) return false;  // %n included
    *conversion += *p++;
    return true;
}

}  // namespace

bool ReadConversions(const char* text, std::vector<std::string>* conversions) {
    conversions->clear();
    if (!text) return true;
    const char* p = text;
    while (*p) {
        if (*p++ != '%') continue;
        if (*p == '%') {
            ++p;
            continue;
        }
        std::string conversion;
        if (!ReadOne(p, &conversion)) return false;
        conversions->push_back(conversion);
    }
    return true;
}

bool SameConversions(const char* builtin, const char* translated) {
    std::vector<std::string> a, b;
    return ReadConversions(builtin, &a) && ReadConversions(translated, &b) && a == b;
}
