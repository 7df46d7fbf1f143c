// The fault guard around window and dialog handlers and the crash report it
// opens.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "extras/crash_report_win.h"
#include "resources/resource_ids.h"
#include "shell/app.h"
#include "shell/fault_guard.h"
#include "shell/window_base.h"
#include "win_test_support.h"

namespace {

// A framework window whose handler faults on a private message.
class FaultyWindow : public WindowBase {
  public:
    static constexpr UINT kFault = WM_APP + 1;
    static constexpr UINT kAnswer = WM_APP + 2;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kFault) {
            volatile int* volatile p = nullptr;
            *p = 1;
            return 5;
        }
        if (message == kAnswer) return 42;
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
    using Function = LRESULT (*)();
    volatile uintptr_t address = 0x10;
    return reinterpret_cast<Function>(address)();
}

std::string Line(const std::string& text, int index) {
    size_t start = 0;
    for (int i = 0; i < index; ++i) start = text.find("\r\n", start) + 2;
    return text.substr(start, text.find("\r\n", start) - start);
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
    HWND hwnd = CreateWindowA("OlTestFrame", "t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                              AppInstance(), &window);
    ASSERT_TRUE(hwnd);
    const int before = CaughtFaultCount();
    EXPECT_EQ(SendMessageA(hwnd, FaultyWindow::kFault, 0, 0), 0);
    EXPECT_EQ(CaughtFaultCount(), before + 1);
    EXPECT_EQ(g_reportOwner, hwnd);
    EXPECT_EQ(g_reportCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    PostMessageA(hwnd, FaultyWindow::kFault, 0, 0);
    PostMessageA(hwnd, FaultyWindow::kAnswer, 0, 0);
    PumpMessages();
    EXPECT_EQ(CaughtFaultCount(), before + 2);
    EXPECT_EQ(SendMessageA(hwnd, FaultyWindow::kAnswer, 0, 0), 42);
    DestroyWindow(hwnd);
    EXPECT_EQ(WindowMap().Find(reinterpret_cast<uintptr_t>(hwnd)), nullptr);
    SetFaultReporter(nullptr);
}

TEST(FaultGuard, NestedGuardsCatchAtTheInnermost) {
    SetFaultReporter(nullptr);  // no crash report here: it would wait for a click
    struct Outer {
        static LRESULT Inner(void*) {
            volatile int* volatile p = nullptr;
            return *p;
        }
        static LRESULT Run(void*) { return CallGuarded(nullptr, Inner, nullptr) + 7; }
    };
    EXPECT_EQ(CallGuarded(nullptr, Outer::Run, nullptr), 7);
    struct Divide {
        static LRESULT Run(void* zero) { return 10 / *static_cast<volatile int*>(zero); }
    };
    int zero = 0;
    EXPECT_EQ(CallGuarded(nullptr, Divide::Run, &zero), 0);
}

// A fault in a guarded handler opens the crash report (its text is checked
// end to end); a fault while it shows is not reported again.
TEST(CrashReport, CopyTakesTheWholeReportAndContinueReturns) {
    InstallCrashReporter();
    std::string report, clipboard;
    LRESULT inner = -1;
    DWORD start = 1, end = 2;
    DialogDriver driver([&](HWND d) {
        report = ItemText(d, IDC_CRASH_TEXT);
        EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_CRASH_TEXT));
        ClickButton(d, IDC_CRASH_COPY);
        clipboard = ClipboardText();
        SendDlgItemMessageA(d, IDC_CRASH_TEXT, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                            reinterpret_cast<LPARAM>(&end));
        inner = CallGuarded(d, JumpToNowhere, nullptr);
        ClickButton(d, IDC_CRASH_CONTINUE);
    });
    EXPECT_EQ(CallGuarded(nullptr, JumpToNowhere, nullptr), 0);
    EXPECT_EQ(driver.Count(), 1);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(LastCrashChoice(), 1);
    EXPECT_EQ(Line(report, 0), "Exception C0000005 at address 0000000000000010 in module {Unknown}");
    EXPECT_EQ(Line(report, 4), "RIP=0000000000000010");
    EXPECT_EQ(Line(report, 6), "Code Data: ");  // nothing readable there
    EXPECT_EQ(clipboard, report);
    EXPECT_EQ(start, end);  // and no selection left behind
    SetFaultReporter(nullptr);
}
