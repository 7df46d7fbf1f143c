#include "extras/unscramble.h"

#include <cstdint>

namespace {

// The two constants and the stored bytes below belong together.
constexpr uint8_t kScrambleKey = 0xA7;
constexpr uint8_t kScrambleMask = 0x3C;

}  // namespace

const char kScrambledProductText[] = "\xD4\xED\xF7\xFD\xED\xF2\xF8\xF2\xD0\x82\xD7\x91\x89\x96\x8B\x94";
const char kScrambledLinkText[] =
    "\xF3\xEE\xED\xE8\xA5\xB1\xB2\xEB\xD4\xD5\x8F\xD6\xC2\xCA\xC8\xCB\xD9\xCB\x87\xCD\xD7\xCF\xC0\xDC\xDF\xD7\x9E";

void UnscrambleText(const char* source, char* dest, size_t destSize) {
    if (destSize == 0) return;
    size_t n = 0;
    uint8_t i = 0;
    for (const char* p = source; p && *p && n + 1 < destSize; ++p, ++i) {
        const uint8_t key = static_cast<uint8_t>(kScrambleKey - i);
        dest[n++] = static_cast<char>(static_cast<uint8_t>(*p) ^ key ^ kScrambleMask);
    }
    dest[n] = '\0';
}
