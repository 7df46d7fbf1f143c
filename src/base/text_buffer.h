#pragma once
// Growable NUL-terminated byte buffer: the address text, raw WHOIS answers
// and the bytes of an answer being received.

#include <cstdint>

struct TextBuffer {
    char* data = nullptr;     // heap block, null while empty
    int32_t capacity = 0;     // bytes allocated; always above the text length
    int32_t length = 0;       // bytes in use, without the terminating NUL
    int32_t lengthKnown = 0;  // appends trust `length` instead of measuring
    int32_t growStep = 0;     // bytes added per growth step
    // Non-zero: the room for text starts at growStep bytes and doubles, so
    // that a text appended in many pieces is copied a few times, not once
    // per step.
    int32_t doubling = 0;

    TextBuffer() = default;
    explicit TextBuffer(int32_t step, bool knownLength = false) : lengthKnown(knownLength ? 1 : 0), growStep(step) {}
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    ~TextBuffer() { Clear(); }

    // Makes room for n bytes plus the NUL. Returns false (buffer unchanged)
    // when memory is short or n cannot be represented.
    bool Reserve(int64_t n);
    bool SetText(const char* text);
    // n == -1 appends the string length of bytes.
    bool AppendBytes(const char* bytes, int64_t n);
    void Clear();
    const char* Text() const { return data ? data : ""; }
};
