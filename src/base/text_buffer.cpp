#include "base/text_buffer.h"

#include <cstdlib>
#include <cstring>

namespace {
constexpr int64_t kMaxCapacity = 0x7FFFFFFF;
}

bool TextBuffer::Reserve(int64_t n) {
    if (n < capacity) return true;
    if (n < 0) return false;
    // An owner that never set a step still gets a buffer that fits.
    const int64_t step = growStep > 0 ? growStep : 256;
    int64_t newCapacity;
    if (doubling) {
        newCapacity = capacity > step ? int64_t{capacity} * 2 - 1 : step + 1;
        if (newCapacity <= n) newCapacity = n + 1;
    } else {
        // Grow in whole steps until the capacity exceeds n, without looping
        // once per step on large texts.
        newCapacity = capacity + ((n - capacity) / step + 1) * step;
    }
    if (newCapacity > kMaxCapacity) return false;
    char* block = static_cast<char*>(std::malloc(static_cast<size_t>(newCapacity)));
    if (!block) return false;
    if (data) {
        std::memcpy(block, data, static_cast<size_t>(capacity));
        std::free(data);
    } else {
        block[0] = '\0';
    }
    data = block;
    capacity = static_cast<int32_t>(newCapacity);
    return true;
}

bool TextBuffer::SetText(const char* text) {
    if (!text) return true;
    const size_t n = std::strlen(text);
    if (!Reserve(static_cast<int64_t>(n))) return false;
    std::memcpy(data, text, n + 1);
    length = static_cast<int32_t>(n);
    return true;
}

bool TextBuffer::AppendBytes(const char* bytes, int64_t n) {
    const int64_t current = lengthKnown ? length : (data ? static_cast<int64_t>(std::strlen(data)) : 0);
    if (n == -1) n = bytes ? static_cast<int64_t>(std::strlen(bytes)) : 0;
    if (n < 0) return false;
    if (!Reserve(current + n)) return false;
    if (n > 0) std::memcpy(data + current, bytes, static_cast<size_t>(n));
    data[current + n] = '\0';
    length = static_cast<int32_t>(current + n);
    return true;
}

void TextBuffer::Clear() {
    std::free(data);
    data = nullptr;
    capacity = 0;
    length = 0;
}
