#include "base/address_helpers.h"

#include <cstdio>
#include <cstring>

int NextToken(char* output, int outputSize, const char* text, const char* separators, int* position) {
    if (!text || !position || *position < 0) return 0;
    int start = *position;
    if (text[start] == '\0') return 0;

    bool isSeparator[256] = {};
    for (const unsigned char* s = reinterpret_cast<const unsigned char*>(separators); s && *s; ++s) {
        isSeparator[*s] = true;
    }

    for (int i = start;; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c != '\0' && !isSeparator[c]) continue;
        int length = i - start;
        if (length > outputSize - 1) length = outputSize - 1;
        if (length >= 1) {
            std::memcpy(output, text + start, static_cast<size_t>(length));
            output[length] = '\0';
            *position = c == '\0' ? i : i + 1;
            return 1;
        }
        if (c == '\0') {
            *position = i;
            return 0;
        }
        start = i + 1;
    }
}

int ParseDottedQuad(const char* text, uint32_t* address, int storePartial) {
    unsigned char octets[4] = {0, 0, 0, 0};
    int groups = 0;
    int digits = 0;
    int value = 0;
    bool ok = false;
    for (int i = 0;; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (digits == 3) break;
            value = value * 10 + (c - '0');
            ++digits;
            continue;
        }
        if (c == '.' || c == '\0') {
            if (digits == 0 || value > 255 || groups == 4) break;
            octets[groups++] = static_cast<unsigned char>(value);
            digits = 0;
            value = 0;
            if (c == '\0') {
                ok = groups == 4;
                break;
            }
            continue;
        }
        break;
    }
    if (ok || storePartial) std::memcpy(address, octets, 4);
    return ok ? 1 : 0;
}

void FormatDottedQuad(uint32_t address, char* output) {
    std::snprintf(output, 16, "%u.%u.%u.%u", AddressOctet(address, 0), AddressOctet(address, 1),
                  AddressOctet(address, 2), AddressOctet(address, 3));
}

uint32_t SwapByteOrder(uint32_t value) {
    return ((value & 0xFFu) << 24) | ((value & 0xFF00u) << 8) | ((value >> 8) & 0xFF00u) | (value >> 24);
}
