#include <winsock2.h>

#include "win_test_support.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "app/startup.h"
#include "base/address_helpers.h"
#include "base/settings_file.h"
#include "framework/app.h"
#include "lang/language.h"
#include "resources/resource_ids.h"

// The process is prepared as the program's start-up prepares it.
int main(int argc, char** argv) {
    SetAppInstance(GetModuleHandleA(nullptr));
    INITCOMMONCONTROLSEX icc = {sizeof icc, 0xFF};
    InitCommonControlsEx(&icc);
    LoadLibraryA("riched20.dll");
    WSADATA wsa;
    WSAStartup(MAKEWORD(1, 1), &wsa);
    PrepareProcess();
    InitLanguage();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    WSACleanup();
    return result;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, HANDLE event) {
    for (const DWORD start = GetTickCount();;) {
        PumpMessages();
        if (done()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        MsgWaitForMultipleObjects(event ? 1 : 0, &event, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

namespace {
DialogDriver* g_driver = nullptr;
}

DialogDriver::DialogDriver(std::function<void(HWND)> act) : act_(std::move(act)) {
    g_driver = this;
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

DialogDriver::~DialogDriver() {
    UnhookWindowsHookEx(hook_);
    g_driver = nullptr;
}

LRESULT CALLBACK DialogDriver::Hook(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char cls[16] = {};
    // Activation is only starting: act once it is over.
    if (code == HCBT_ACTIVATE && g_driver && GetClassNameA(window, cls, sizeof cls) && std::string(cls) == "#32770" &&
        g_driver->seen_.insert(window).second) {
        g_driver->pending_.push_back(window);
        SetTimer(nullptr, 0, 0, Act);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK DialogDriver::Act(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    while (g_driver && !g_driver->pending_.empty()) {
        HWND dialog = g_driver->pending_.front();
        g_driver->pending_.erase(g_driver->pending_.begin());
        if (IsWindow(dialog)) g_driver->act_(dialog);
    }
}

void ClickButton(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

std::string StatusText(HWND statusBar) {
    char text[512] = {};
    SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
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

std::string ReadFileBytes(const std::string& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
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

void MenuCommands(HMENU menu, std::set<int>* out) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            MenuCommands(sub, out);
        } else if (!(GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR)) {
            out->insert(static_cast<int>(GetMenuItemID(menu, i)));
        }
    }
}

// The window's own state that no message shows.
class MainWindowProbe {
  public:
    static HMENU ContextMenu(MainWindow& window) { return window.contextMenu.Get(); }
};

HMENU MainWindowTest::ContextMenu() {
    return MainWindowProbe::ContextMenu(*window);
}

std::string MainWindowTest::SettingsPath() {
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    return SettingsPathFor(program);
}

void MainWindowTest::Open(const char* switches) {
    commandLine.Build(switches);
    window = new MainWindow();
    window->SetCommandLine(&commandLine);
    ASSERT_TRUE(window->Create());
    hwnd = window->hwnd;
    list = GetDlgItem(hwnd, IDW_RESULTLIST);
    status = GetDlgItem(hwnd, IDW_STATUSBAR);
    toolbar = GetDlgItem(hwnd, IDW_TOOLBAR);
    pane = FindWindowExA(hwnd, nullptr, "RichEdit20A", nullptr);
    PumpMessages();
}

void MainWindowTest::Close() {
    // Cancelled, the Find dialog tells its owner it is gone; destroyed with it, it does not.
    if (IsWindow(FindDialogHandle())) SendMessageA(FindDialogHandle(), WM_COMMAND, IDCANCEL, 0);
    if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
    PumpMessages();
    delete window;
    window = nullptr;
    hwnd = nullptr;
}

std::string MainWindowTest::Cell(int row, int column) {
    char text[512] = {};
    ListView_GetItemText(list, row, column, text, sizeof text);
    return text;
}

void MainWindowTest::Select(std::initializer_list<int> rows) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    for (int row : rows) ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
}

void MainWindowTest::ClickHeader(int column) {
    NMLISTVIEW click = {};
    click.hdr = {list, IDW_RESULTLIST, static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageA(hwnd, WM_NOTIFY, IDW_RESULTLIST, reinterpret_cast<LPARAM>(&click));
}

void MainWindowTest::AddRows(std::initializer_list<const char*> addresses) {
    for (const char* address : addresses) {
        uint32_t ip = 0;
        ParseDottedQuad(address, &ip, 0);
        window->Addresses().CreateItem(ip, nullptr);
    }
    window->Addresses().Rebuild(true);
}
