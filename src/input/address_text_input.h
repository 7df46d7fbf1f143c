#pragma once
// Address texts that arrive as raw bytes: a file named with "/ipfile" and
// the text another process hands over with UM_SENDERPROCESS and
// UM_SENDERTEXT. The shell reads the bytes; these rules decide what is kept.

#include <cstdint>

#include "base/text_buffer.h"

// A handed-over text of this many bytes or more is refused.
constexpr uint32_t kMaxSenderTextLength = 0xFFFFF;

// Whether a UM_SENDERTEXT may be read: a length below the limit and a sender
// announced by UM_SENDERPROCESS.
bool AcceptsSenderText(uint32_t length, uint32_t senderProcessId);

// Replaces the address text with n bytes taken as they are; the text ends at
// its first NUL. False, with the text unchanged, when n bytes cannot be held.
bool SetAddressBytes(TextBuffer& text, const char* bytes, int64_t n);
