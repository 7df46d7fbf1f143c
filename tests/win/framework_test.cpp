// The fault guard around window and dialog handlers and the crash report it
// opens (the report's text and its buttons' ends are checked end to end).
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

constexpr UINT kFault = WM_APP + 1, kAnswer = WM_APP + 2;

class FaultyWindow : public WindowBase {
  public:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        volatile int* volatile p = nullptr;
        if (message == kFault) *p = 1;
        if (message == kFault || message == kAnswer) return 42;
        return WindowBase::HandleMessage(message, wParam, lParam);
    }
};

HWND g_reportOwner = nullptr;
bool Reporter(HWND owner, const FaultInfo& fault) {
    g_reportOwner = fault.record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION ? owner : nullptr;
    return false;
}

LRESULT JumpToNowhere(void*) {
    volatile uintptr_t address = 0x10;
    return reinterpret_cast<LRESULT (*)()>(address)();
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
    HWND hwnd = CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 99, 99, nullptr, nullptr,
                              AppInstance(), &window);
    ASSERT_TRUE(hwnd);
    const int before = CaughtFaultCount();
    EXPECT_EQ(SendMessageA(hwnd, kFault, 0, 0), 0);
    EXPECT_EQ(g_reportOwner, hwnd);
    PostMessageA(hwnd, kFault, 0, 0);  // through the message loop
    PumpMessages();
    EXPECT_EQ(CaughtFaultCount(), before + 2);
    EXPECT_EQ(SendMessageA(hwnd, kAnswer, 0, 0), 42);
    DestroyWindow(hwnd);
    EXPECT_EQ(WindowMap().Find(reinterpret_cast<uintptr_t>(hwnd)), nullptr);
    // Nested guards catch at the innermost.
    SetFaultReporter(nullptr);
    struct Outer {
        static LRESULT Run(void*) { return CallGuarded(nullptr, JumpToNowhere, nullptr) + 7; }
    };
    EXPECT_EQ(CallGuarded(nullptr, Outer::Run, nullptr), 7);
}

TEST(CrashReport, CopyTakesTheWholeReportAFaultInsideIsNotReportedAgain) {
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
    EXPECT_EQ(Line(report, 6), "Code Data: ");  // nothing readable there
    EXPECT_EQ(clipboard, report);
    EXPECT_EQ(start, end);  // and no selection left behind
    SetFaultReporter(nullptr);
}
