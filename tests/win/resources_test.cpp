// The compiled resources hold everything the code names in resource_ids.h,
// and their Chinese texts reach the "A" functions as exact GBK bytes; the
// fault guard around the handlers.
#include <cstdlib>
#include <fstream>
#include <map>
#include <new>
#include <sstream>

#include "framework/app.h"
#include "framework/fault_guard.h"
#include "framework/window_base.h"
#include "lang/format_conversions.h"
#include "resources/resource_ids.h"
#include "whois/ansi_text.h"
#include "../common/resource_ids_file.h"
#include "win_test_support.h"

namespace {

std::map<std::string, int> Ids(const std::string& prefix) {
    std::map<std::string, int> ids = ResourceIds(prefix);
    EXPECT_FALSE(ids.empty()) << prefix;
    return ids;
}

INT_PTR CALLBACK Passive(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

}  // namespace

TEST(Resources, EveryStringIdHasAText) {
    for (const auto& id : Ids("IDS_")) {
        if (id.first.find("_BASE") != std::string::npos) continue;  // a base plus an enum value
        wchar_t text[16];
        EXPECT_GT(LoadStringW(AppInstance(), static_cast<UINT>(id.second), text, 16), 0) << id.first;
    }
}

TEST(Resources, EveryCommandIsInTheMenuBarAndMenusAndKeysHoldNoOther) {
    std::set<int> declared;
    for (const auto& id : Ids("IDM_")) declared.insert(id.second);
    std::set<int> bar, context;
    HMENU menu = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDR_MAINMENU));
    MenuCommands(menu, &bar);
    DestroyMenu(menu);
    menu = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDR_CONTEXTMENU));
    MenuCommands(menu, &context);
    DestroyMenu(menu);
    EXPECT_EQ(bar, declared);
    for (int command : context) EXPECT_EQ(bar.count(command), 1u) << command;
    ACCEL keys[32];
    const int n = CopyAcceleratorTableA(LoadAcceleratorsA(AppInstance(), MAKEINTRESOURCEA(IDR_ACCEL)), keys, 32);
    EXPECT_GT(n, 0);
    for (int i = 0; i < n; ++i) EXPECT_EQ(bar.count(keys[i].cmd), 1u) << keys[i].cmd;
}

TEST(Resources, EveryControlIdIsInItsDialogTemplate) {
    const std::pair<const char*, int> dialogs[] = {{"IDC_PROP_", IDD_PROPERTIES},
                                                   {"IDC_CRASH_", IDD_CRASH_REPORT},
                                                   {"IDC_ADDR_", IDD_ADDRESS},
                                                   {"IDC_ABOUT_", IDD_ABOUT},
                                                   {"IDC_COLUMNS_", IDD_COLUMNS}};
    for (const auto& dialog : dialogs) {
        HWND d = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(dialog.second), nullptr, Passive, 0);
        ASSERT_NE(d, nullptr) << dialog.second;
        for (const auto& id : Ids(dialog.first)) EXPECT_NE(GetDlgItem(d, id.second), nullptr) << id.first;
        DestroyWindow(d);
    }
}

TEST(Resources, TheCodePageIsGbkAndRdapTextReachesIt) {
    // The runner selects code page 936 unless told to test another one.
    const char* wanted = std::getenv("OL_EXPECT_ACP");
    ASSERT_EQ(GetACP(), wanted ? static_cast<UINT>(std::atoi(wanted)) : 936u);
    if (GetACP() != 936) GTEST_SKIP() << "code page " << GetACP();
    // RDAP's UTF-8 through the conversion start-up installs: 中é, a malformed byte, Thai ก that GBK lacks.
    std::string ansi;
    const std::string utf8 = "\xE4\xB8\xAD\xC3\xA9\xFF\xE0\xB8\x81x";
    Utf8ToAnsi(utf8.data(), utf8.size(), &ansi);
    EXPECT_EQ(ansi, "\xD6\xD0\xA8\xA6??x");
}

// The English translation is plain ASCII and keeps every format's conversions.
TEST(Resources, TheEnglishStringsKeepEveryConversion) {
    std::ifstream in(std::string(OL_TEST_DATA_DIR) + "/../../translations/Ownerlens_lng.ini", std::ios::binary);
    ASSERT_TRUE(in);
    bool strings = false;
    int checked = 0;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        for (unsigned char c : line) ASSERT_LT(c, 0x80) << line;
        if (!line.empty() && line[0] == '[') strings = line == "[strings]";
        const size_t eq = line.find('=');
        if (!strings || eq == std::string::npos) continue;
        char builtin[4096] = {};
        LoadStringA(AppInstance(), static_cast<UINT>(std::atoi(line.c_str())), builtin, sizeof builtin);
        EXPECT_TRUE(SameConversions(builtin, line.c_str() + eq + 1)) << line;
        ++checked;
    }
    EXPECT_EQ(checked, static_cast<int>(Ids("IDS_").size()) - 2);
}

// The fault guard (the crash report it opens is checked end to end).
namespace {

constexpr UINT kFault = WM_APP + 1, kAnswer = WM_APP + 2, kSystemFault = WM_APP + 3, kThrow = WM_APP + 4;

class FaultyWindow : public WindowBase {
  public:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        volatile int* volatile p = nullptr;
        if (message == kFault) *p = 1;
        // The system faults inside and handles that itself.
        if (message == kSystemFault) return IsBadReadPtr(nullptr, 1) && IsBadReadPtr(reinterpret_cast<void*>(16), 1);
        if (message == kThrow) throw std::bad_alloc();
        if (message == kFault || message == kAnswer) return 42;
        return WindowBase::HandleMessage(message, wParam, lParam);
    }
};

HWND g_reportOwner = nullptr;
DWORD g_reportCode = 0;
bool Reporter(HWND owner, const FaultInfo& fault) {
    g_reportOwner = owner;
    g_reportCode = fault.record.ExceptionCode;
    return false;
}

LRESULT JumpToNowhere(void*) {
    volatile uintptr_t address = 0x10;
    return reinterpret_cast<LRESULT (*)()>(address)();
}

}  // namespace

TEST(FaultGuard, AFaultingHandlerReturnsZeroAndTheLoopGoesOn) {
    SetFaultReporter(Reporter);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = GenericWindowProc;
    wc.hInstance = AppInstance();
    wc.lpszClassName = "OlTestFrame";
    RegisterClassA(&wc);
    FaultyWindow window;
    HWND hwnd = CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 99, 99, nullptr, nullptr, AppInstance(),
                              &window);
    ASSERT_TRUE(hwnd);
    const int before = CaughtFaultCount();
    EXPECT_EQ(SendMessageA(hwnd, kFault, 0, 0), 0);
    EXPECT_EQ(g_reportOwner, hwnd);
    EXPECT_EQ(g_reportCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    PostMessageA(hwnd, kFault, 0, 0);  // through the message loop
    PumpMessages();
    EXPECT_EQ(CaughtFaultCount(), before + 2);
    g_reportOwner = nullptr;
    EXPECT_EQ(SendMessageA(hwnd, kSystemFault, 0, 0), 1);
    EXPECT_EQ(CaughtFaultCount(), before + 2);
    EXPECT_EQ(g_reportOwner, nullptr);
    EXPECT_EQ(SendMessageA(hwnd, kThrow, 0, 0), 0);
    EXPECT_EQ(CaughtFaultCount(), before + 3);
    EXPECT_EQ(g_reportOwner, hwnd);
    EXPECT_EQ(g_reportCode, kEscapedCppException);
    EXPECT_EQ(SendMessageA(hwnd, kAnswer, 0, 0), 42);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
    DestroyWindow(hwnd);
    // Nested guards catch at the innermost.
    SetFaultReporter(nullptr);
    struct Outer {
        static LRESULT Run(void*) { return CallGuarded(nullptr, JumpToNowhere, nullptr) + 7; }
    };
    EXPECT_EQ(CallGuarded(nullptr, Outer::Run, nullptr), 7);
}
