#include "views/text_match.h"

#include <cstring>

namespace {

inline unsigned char Fold(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

}  // namespace

int CompareNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const unsigned char x = Fold(*a);
        const unsigned char y = Fold(*b);
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
}

bool EqualsNoCase(const char* a, const char* b) {
    return CompareNoCase(a, b) == 0;
}

bool ContainsText(const char* haystack, const char* needle, bool matchCase) {
    if (*needle == '\0') return true;
    if (matchCase) return std::strstr(haystack, needle) != nullptr;
    const unsigned char first = Fold(*needle);
    for (const char* h = haystack; *h; ++h) {
        if (Fold(*h) != first) continue;
        const char* x = h;
        const char* y = needle;
        while (*y && Fold(*x) == Fold(*y)) ++x, ++y;
        if (*y == '\0') return true;
    }
    return false;
}
