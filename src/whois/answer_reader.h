#pragma once
// The parsers' walk over an answer: the same lines as NextLine and the same
// split as SplitKeyValue, but the text's length is measured once, so each
// line is scanned and copied many bytes at a time in a single pass that also
// notes the first colon, and each key is folded once so that a keyword test
// is a few integer compares. Answers of megabytes stay cheap.

#include <cstddef>
#include <cstdint>

#include "whois/whois_record.h"

// A keyword of at most 16 characters, lower case, packed into two words in
// memory order so that it compares with a folded key as integers.
struct Keyword {
    uint64_t words[2];
    int length;

    template <size_t N>
    constexpr explicit Keyword(const char (&text)[N])
        : words{Pack(text, 0, N - 1), Pack(text, 8, N - 1)}, length(static_cast<int>(N - 1)) {
        static_assert(N - 1 <= 16, "keywords have at most 16 characters");
    }

  private:
    static constexpr uint64_t Pack(const char* text, size_t from, size_t length) {
        uint64_t word = 0;
        for (size_t i = 0; i < 8 && from + i < length; ++i) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
            word |= static_cast<uint64_t>(static_cast<unsigned char>(text[from + i])) << (8 * (7 - i));
#else
            word |= static_cast<uint64_t>(static_cast<unsigned char>(text[from + i])) << (8 * i);
#endif
        }
        return word;
    }
};

class AnswerReader {
  public:
    explicit AnswerReader(const char* answer);

    // The next line into record->line, exactly as NextLine would give it.
    bool Next(WhoisRecord* record);

    // SplitKeyValue for the line just read.
    bool Split(WhoisRecord* record);

    // Index of the first keyword the key of the split line equals, ignoring
    // ASCII case, or -1: the same answer as testing KeyIs in list order.
    int Match(const Keyword* keywords, int count) const {
        for (int k = 0; k < count; ++k) {
            if (keywords[k].length == keyLength && keywords[k].words[0] == keyWords[0] &&
                keywords[k].words[1] == keyWords[1]) {
                return k;
            }
        }
        return -1;
    }
    bool KeyIs(const Keyword& keyword) const { return Match(&keyword, 1) == 0; }

  private:
    const char* text;
    size_t length;
    size_t position = 0;
    int colon = -1;                 // index of the line's first colon, -1 when none
    int keyLength = -1;             // -1 for keys longer than any keyword
    uint64_t keyWords[2] = {0, 0};  // the key folded to lower case, zero padded
};
