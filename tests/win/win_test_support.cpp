#include "win_test_support.h"

#include <commctrl.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "framework/app.h"
#include "base/settings_file.h"

namespace {
DialogDriver* g_driver = nullptr;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, HANDLE event) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (done()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        MsgWaitForMultipleObjects(event ? 1 : 0, &event, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

DialogDriver::DialogDriver(std::function<void(HWND)> act) : act_(std::move(act)) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = AppInstance();
    wc.lpszClassName = "OlDialogDriver";
    RegisterClassA(&wc);
    helper_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, AppInstance(), nullptr);
    g_driver = this;
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

DialogDriver::~DialogDriver() {
    UnhookWindowsHookEx(hook_);
    g_driver = nullptr;
    DestroyWindow(helper_);
}

LRESULT CALLBACK DialogDriver::Hook(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char cls[16] = {};
    // Activation is only starting: act once it is over.
    if (code == HCBT_ACTIVATE && g_driver && GetClassNameA(window, cls, sizeof cls) && std::string(cls) == "#32770" &&
        g_driver->seen_.insert(window).second) {
        PostMessageA(g_driver->helper_, WM_APP, 0, reinterpret_cast<LPARAM>(window));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK DialogDriver::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND dialog = reinterpret_cast<HWND>(lParam);
    if (message != WM_APP) return DefWindowProcA(window, message, wParam, lParam);
    if (g_driver && IsWindow(dialog)) g_driver->act_(dialog);
    return 0;
}

void ClickButton(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string WindowText(HWND window) {
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(window)) + 2);
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

std::string ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}
std::string MessageBoxText(HWND box) {
    return ItemText(box, 0xFFFF);
}  // its text's static control

std::string StatusText(HWND statusBar) {
    char text[512] = {};
    SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

RECT RectIn(HWND window, HWND reference) {
    RECT r = {};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<clipboard closed>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) text = bytes;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void SetClipboardText(const char* text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    const size_t n = text ? std::strlen(text) + 1 : 4;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n);
    std::memcpy(GlobalLock(block), text ? text : "\0\0\0", n);
    GlobalUnlock(block);
    SetClipboardData(text ? CF_TEXT : RegisterClipboardFormatA("OwnerlensTestFormat"), block);
    CloseClipboard();
}

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

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ProgramFolder() {
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string s = program;
    return s.substr(0, s.rfind('\\') + 1);
}
