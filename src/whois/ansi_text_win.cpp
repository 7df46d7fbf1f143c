#include <windows.h>

#include <vector>

#include "whois/ansi_text.h"

namespace {

void Win32Utf8ToAnsi(const char* utf8, size_t length, std::string* ansi) {
    // XP drops malformed bytes where later systems write U+FFFD: repairing
    // first gives every system the same '?'.
    std::string repaired;
    if (RepairUtf8(utf8, length, &repaired)) {
        utf8 = repaired.data();
        length = repaired.size();
    }
    if (length == 0 || length > 0x7FFFFFFF) return;
    const int bytes = static_cast<int>(length);
    const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8, bytes, nullptr, 0);
    if (wide <= 0) return;
    std::vector<wchar_t> text(static_cast<size_t>(wide));
    MultiByteToWideChar(CP_UTF8, 0, utf8, bytes, text.data(), wide);
    // No best fit: a character the code page lacks is '?', not a look-alike.
    // A UTF-8 ANSI page accepts neither the flag nor a default character.
    const bool utf8Page = GetACP() == CP_UTF8;
    const DWORD flags = utf8Page ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* fallback = utf8Page ? nullptr : "?";
    const int narrow = WideCharToMultiByte(CP_ACP, flags, text.data(), wide, nullptr, 0, fallback, nullptr);
    if (narrow <= 0) return;
    const size_t start = ansi->size();
    ansi->resize(start + static_cast<size_t>(narrow));
    WideCharToMultiByte(CP_ACP, flags, text.data(), wide, &(*ansi)[start], narrow, fallback, nullptr);
}

}  // namespace

void InstallWin32Utf8ToAnsiConverter() {
    SetUtf8ToAnsiConverter(Win32Utf8ToAnsi);
}
