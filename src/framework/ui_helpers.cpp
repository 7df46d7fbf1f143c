#include "framework/ui_helpers.h"

#include <cstdio>

HFONT CreateHyperlinkFont() {
    return CreateFontA(10, 0, 0, 0, FW_BOLD, FALSE, TRUE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
}

void WaitCursor::Begin() {
    if (active) return;
    previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    active = true;
}

void WaitCursor::End() {
    if (!active) return;
    SetCursor(previous);
    active = false;
}

std::string GetErrorText(DWORD code) {
    char* text = nullptr;
    DWORD length = 0;
    // Network errors have their texts in netmsg.dll.
    if (code >= 2100 && code <= 2999) {
        HMODULE netmsg = LoadLibraryExA("netmsg.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (netmsg) {
            length = FormatMessageA(
                FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, netmsg,
                code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
            FreeLibrary(netmsg);
        }
    } else {
        length =
            FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    }
    std::string result = "Unknown Error";
    if (text && length > 0 && length < 1024) result.assign(text, length);
    if (text) LocalFree(text);
    return result;
}

void ShowErrorMessage(HWND owner, DWORD code) {
    if (code == 0) code = GetLastError();
    const std::string description = GetErrorText(code);
    char message[1200];
    std::snprintf(message, sizeof message, "Error %d: %s", static_cast<int>(code), description.c_str());
    MessageBoxA(owner, message, "Error", MB_ICONEXCLAMATION | MB_OK);
}
