#include "lookup/answer_buffer.h"

AnswerBuffer::AnswerBuffer() : TextBuffer(8192, true) {
    doubling = 1;
}

void AnswerBuffer::Reset() {
    Clear();
    bytesMoved = 0;
    SetText("");
}

bool AnswerBuffer::Keep(const char* bytes, int64_t n) {
    if (n < 0 || length + n > kMaxBytes) return false;
    const int32_t before = capacity;
    if (!AppendBytes(bytes, n)) return false;
    if (capacity != before) bytesMoved += before;
    return true;
}
