#include "whois/answer_reader.h"

#include <cstring>

#include "whois/record_helpers.h"

// The release build (i686) has no SSE2 and scans eight bytes at a time in
// plain integers; the fuzz build forces that path so that it is fuzzed too.
#if defined(__SSE2__) && !defined(OL_PORTABLE_LINE_SCAN)
#define OL_SSE2_LINE_SCAN 1
#include <emmintrin.h>
#endif

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighs = 0x8080808080808080ull;

#ifndef OL_SSE2_LINE_SCAN
// High bit set in every byte of word that is zero (exact up to the first
// zero byte, which is all that is used).
inline uint64_t ZeroBytes(uint64_t word) {
    return (word - kOnes) & ~word & kHighs;
}

// Index in memory order of the first byte flagged in a ZeroBytes mask.
inline int FirstFlagged(uint64_t mask) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return __builtin_clzll(mask) >> 3;
#else
    return __builtin_ctzll(mask) >> 3;
#endif
}
#endif

// ASCII upper-case letters of all eight bytes turned to lower case.
inline uint64_t FoldWord(uint64_t word) {
    const uint64_t low7 = word & ~kHighs;
    const uint64_t aboveA = low7 + kOnes * (0x80 - 'A');
    const uint64_t aboveZ = low7 + kOnes * (0x80 - 'Z' - 1);
    const uint64_t upper = (aboveA ^ aboveZ) & ~word & kHighs;
    return word | (upper >> 2);
}

// Mask keeping the first n bytes (in memory order) of a word; n may be
// negative or above 8.
inline uint64_t KeepBytes(int n) {
    if (n <= 0) return 0;
    if (n >= 8) return ~0ull;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return ~(~0ull >> (8 * n));
#else
    return (1ull << (8 * n)) - 1;
#endif
}

}  // namespace

AnswerReader::AnswerReader(const char* answer) : text(answer), length(std::strlen(answer)) {}

bool AnswerReader::Next(WhoisRecord* record) {
    keyLength = -1;  // no key matches until the new line is split
    if (position >= length) return false;
    const char* start = text + position;
    const size_t available = length - position;
    char* out = record->line;
    constexpr size_t kOut = sizeof record->line;
    size_t i = 0;
    size_t lineEnd = available;  // without a line end the line runs to the end of the text
    long firstColon = -1;
    bool found = false;
#ifdef OL_SSE2_LINE_SCAN
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i colons = _mm_set1_epi8(':');
    for (; i + 16 <= available; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(start + i));
        // Bytes past the buffer are only scanned, never stored.
        if (i + 16 <= kOut) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), chunk);
        const unsigned ends = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, lf), _mm_cmpeq_epi8(chunk, cr))));
        if (firstColon < 0) {
            const unsigned at = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, colons)));
            if (at) firstColon = static_cast<long>(i) + __builtin_ctz(at);
        }
        if (ends) {
            lineEnd = i + __builtin_ctz(ends);
            found = true;
            break;
        }
    }
#else
    for (; i + 8 <= available; i += 8) {
        uint64_t word;
        std::memcpy(&word, start + i, 8);
        if (i + 8 <= kOut) std::memcpy(out + i, &word, 8);
        const uint64_t ends = ZeroBytes(word ^ (kOnes * '\n')) | ZeroBytes(word ^ (kOnes * '\r'));
        if (firstColon < 0) {
            const uint64_t at = ZeroBytes(word ^ (kOnes * ':'));
            if (at) firstColon = static_cast<long>(i) + FirstFlagged(at);
        }
        if (ends) {
            lineEnd = i + FirstFlagged(ends);
            found = true;
            break;
        }
    }
#endif
    if (!found) {
        for (; i < available; ++i) {
            const char c = start[i];
            if (c == '\n' || c == '\r') {
                lineEnd = i;
                break;
            }
            if (i < kOut) out[i] = c;
            if (c == ':' && firstColon < 0) firstColon = static_cast<long>(i);
        }
    }
    const size_t kept = lineEnd < static_cast<size_t>(kMaxLineLength) ? lineEnd : kMaxLineLength;
    out[kept] = '\0';
    colon = firstColon >= 0 && static_cast<size_t>(firstColon) < kept ? static_cast<int>(firstColon) : -1;

    size_t next = position + lineEnd;
    if (next < length) {
        if (text[next] == '\r' && next + 1 < length && text[next + 1] == '\n') ++next;
        ++next;
    }
    position = next;
    return true;
}

bool AnswerReader::Split(WhoisRecord* record) {
    char* line = record->line;
    if (line[0] == '%') return false;
    record->key = line;
    if (colon < 0) return false;
    // Fold the key once. The line buffer always holds 16 readable bytes, so
    // the key is read whole and the bytes after it are masked off.
    if (colon <= 16) {
        uint64_t words[2];
        std::memcpy(words, line, sizeof words);
        keyWords[0] = FoldWord(words[0]) & KeepBytes(colon);
        keyWords[1] = FoldWord(words[1]) & KeepBytes(colon - 8);
        keyLength = colon;
    } else {
        keyLength = -1;
    }
    line[colon] = '\0';
    char* value = line + colon + 1;
    while (*value == ' ' || *value == '\t') ++value;
    record->value = value;
    return true;
}
