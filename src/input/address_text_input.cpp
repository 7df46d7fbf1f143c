#include "input/address_text_input.h"

#include <cstring>

bool AcceptsSenderText(uint32_t length, uint32_t senderProcessId) {
    return length < kMaxSenderTextLength && senderProcessId != 0;
}

bool SetAddressBytes(TextBuffer& text, const char* bytes, int64_t n) {
    if (n < 0 || (n > 0 && !bytes) || !text.Reserve(n)) return false;
    if (n > 0) std::memcpy(text.data, bytes, static_cast<size_t>(n));
    text.data[n] = '\0';
    text.length = static_cast<int32_t>(n);
    return true;
}
