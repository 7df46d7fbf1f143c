#include "win_test_support.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "base/settings_file.h"

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

std::string TestSettingsPath() {
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    return SettingsPathFor(program);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(timeoutMs - elapsed, 50), QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

Later::Later() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OlTestLater";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

Later::~Later() { DestroyWindow(hwnd_); }

void Later::Post(std::function<void()> work) {
    PostMessageA(hwnd_, WM_APP, 0, reinterpret_cast<LPARAM>(new std::function<void()>(std::move(work))));
}

LRESULT CALLBACK Later::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        auto* work = reinterpret_cast<std::function<void()>*>(lParam);
        (*work)();
        delete work;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
