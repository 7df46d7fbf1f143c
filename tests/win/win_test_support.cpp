#include "win_test_support.h"

#include <vector>

namespace {
DialogWatcher* g_watcher = nullptr;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

DialogWatcher::DialogWatcher(std::function<void(HWND)> fn) : onDialog(std::move(fn)) {
    g_watcher = this;
    hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

DialogWatcher::~DialogWatcher() {
    UnhookWindowsHookEx(hook);
    g_watcher = nullptr;
}

LRESULT CALLBACK DialogWatcher::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_watcher) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char cls[64] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (std::string(cls) == "#32770") {
            ++g_watcher->count;
            g_watcher->onDialog(window);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::vector<char> text(static_cast<size_t>(length) + 2);
    GetWindowTextA(window, text.data(), length + 1);
    return text.data();
}

std::string MessageBoxText(HWND box) {
    // The message text is the static control with id 0xFFFF (Windows and Wine).
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? WindowText(text) : std::string();
}

int GdiObjectCount() { return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)); }
int UserObjectCount() { return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)); }
