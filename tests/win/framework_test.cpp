#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/app.h"
#include "framework/fault_guard.h"
#include "framework/ui_helpers.h"
#include "framework/window_base.h"
#include "win_test_support.h"

namespace {

// A framework window whose handler faults on a private message.
class FaultyWindow : public WindowBase {
public:
    static constexpr UINT kFault = WM_APP + 1;
    static constexpr UINT kAnswer = WM_APP + 2;
    int destroyed = 0;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kFault) {
            volatile int* volatile p = nullptr;
            *p = 1;
            return 5;
        }
        if (message == kAnswer) return 42;
        if (message == WM_DESTROY) ++destroyed;
        return WindowBase::HandleMessage(message, wParam, lParam);
    }
};

HWND CreateFramework(WindowBase* object) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = GenericWindowProc;
        wc.hInstance = AppInstance();
        wc.lpszClassName = "OlTestFrame";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowA("OlTestFrame", "t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, AppInstance(),
                         object);
}

int g_reported = 0;
HWND g_reportOwner = nullptr;
DWORD g_reportCode = 0;
bool Reporter(HWND owner, const FaultInfo& fault) {
    ++g_reported;
    g_reportOwner = owner;
    g_reportCode = fault.record.ExceptionCode;
    return false;
}

}  // namespace

TEST(FaultGuard, AFaultingHandlerReturnsZeroAndTheWindowLivesOn) {
    SetFaultReporter(Reporter);
    FaultyWindow window;
    HWND hwnd = CreateFramework(&window);
    ASSERT_TRUE(hwnd);
    EXPECT_EQ(window.hwnd, hwnd);
    const int before = CaughtFaultCount();
    EXPECT_EQ(SendMessageA(hwnd, FaultyWindow::kFault, 0, 0), 0);
    EXPECT_EQ(CaughtFaultCount(), before + 1);
    EXPECT_EQ(g_reportOwner, hwnd);
    EXPECT_EQ(g_reportCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    // Posted through the message loop too.
    PostMessageA(hwnd, FaultyWindow::kFault, 0, 0);
    PumpMessages();
    EXPECT_EQ(CaughtFaultCount(), before + 2);
    // The window still answers and reaches its object through its own user data.
    EXPECT_EQ(SendMessageA(hwnd, FaultyWindow::kAnswer, 0, 0), 42);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
    DestroyWindow(hwnd);
    EXPECT_EQ(window.destroyed, 1);
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
        static LRESULT Run(void* zero) {
            volatile int d = *static_cast<int*>(zero);
            return 10 / d;
        }
    };
    int zero = 0;
    EXPECT_EQ(CallGuarded(nullptr, Divide::Run, &zero), 0);
}

TEST(ErrorMessage, ShowsCodeAndSystemTextOfTheLastError) {
    std::string text, caption;
    DialogWatcher watcher([&](HWND box) {
        text = MessageBoxText(box);
        caption = WindowText(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    SetLastError(ERROR_FILE_NOT_FOUND);
    ShowErrorMessage(nullptr, 0);
    EXPECT_EQ(watcher.Count(), 1);
    EXPECT_EQ(caption, "Error");
    EXPECT_EQ(text, "Error 2: " + GetErrorText(2));
    EXPECT_NE(GetErrorText(2), "Unknown Error");
    EXPECT_EQ(GetErrorText(0x2FFFFFFF), "Unknown Error");
}
