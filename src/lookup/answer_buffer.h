#pragma once
// The answer of a WHOIS conversation while it arrives in pieces of a few
// kilobytes: kept whole up to its limit in a block whose room doubles, so
// that a large answer is copied a few times on the user-interface thread,
// not once per piece.

#include <cstdint>

#include "base/text_buffer.h"

struct AnswerBuffer : TextBuffer {
    // Answers up to this many bytes are kept; one byte more fails.
    static constexpr int32_t kMaxBytes = 4194304;

    AnswerBuffer();
    // Empties it for a new conversation.
    void Reset();
    // Appends n received bytes; false, with nothing appended, when they
    // would pass kMaxBytes or memory is short.
    bool Keep(const char* bytes, int64_t n);

    int64_t bytesMoved = 0;  // copied by growth steps since Reset: for figures and tests
};
