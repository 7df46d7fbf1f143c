// The crash report opened by a fault in a handler: its text, copy and
// continue. (Terminate ends the process: the end-to-end tests check it.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "dialog_driver.h"
#include "extras/crash_report_win.h"
#include "resources/resource_ids.h"
#include "app/command_line.h"
#include "framework/fault_guard.h"
#include "app/main_window.h"
#include "framework/messages.h"
#include "win_test_support.h"

namespace {

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data) {
        const char* p = static_cast<const char*>(GlobalLock(data));
        if (p) text = p;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::string Line(const std::string& text, int index) {
    size_t start = 0;
    for (int i = 0; i < index; ++i) start = text.find("\r\n", start) + 2;
    return text.substr(start, text.find("\r\n", start) - start);
}

struct CrashReportTest : ::testing::Test {
    CommandLine commandLine;
    MainWindow* window = nullptr;

    void SetUp() override {
        InstallCrashReporter();
        SetEnvironmentVariableA("OWNERLENS_TEST_FAULTS", "1");
        commandLine.Build("/nodlgstart");
        window = new MainWindow();
        window->commandLine = &commandLine;
        window->writeSettingsAtExit = false;
        ASSERT_TRUE(window->Create());
        PumpMessages();
    }
    void TearDown() override {
        SetEnvironmentVariableA("OWNERLENS_TEST_FAULTS", nullptr);
        if (window && window->hwnd && IsWindow(window->hwnd)) DestroyWindow(window->hwnd);
        PumpMessages();
        delete window;
    }
};

LRESULT JumpToNowhere(void*) {
    using Function = LRESULT (*)();
    volatile uintptr_t address = 0x10;
    return reinterpret_cast<Function>(address)();
}

}  // namespace

TEST_F(CrashReportTest, AFaultingCommandShowsTheReportAndContinueKeepsTheWindow) {
    std::string report, caption;
    bool focusOnText = false;
    DialogDriver driver([&](HWND d) {
        caption = WindowText(d);
        report = WindowText(GetDlgItem(d, IDC_CRASH_TEXT));
        focusOnText = GetFocus() == GetDlgItem(d, IDC_CRASH_TEXT);
        ClickButton(d, IDC_CRASH_CONTINUE);
    });
    const int before = CaughtFaultCount();
    EXPECT_EQ(SendMessageA(window->hwnd, WM_COMMAND, IDM_TEST_FAULT, 0), 0);
    EXPECT_EQ(CaughtFaultCount(), before + 1);
    EXPECT_EQ(driver.Count(), 1);
    EXPECT_EQ(LastCrashChoice(), 1);
    EXPECT_EQ(caption, "\xD2\xEC\xB3\xA3 !");  // 异常 !, never translated
    EXPECT_TRUE(focusOnText);

    EXPECT_EQ(Line(report, 0).rfind("Exception C0000005 at address ", 0), 0u) << report;
    EXPECT_NE(Line(report, 0).find(" in module win_tests.exe"), std::string::npos) << report;
    EXPECT_EQ(Line(report, 1), "Registers: ");
    EXPECT_EQ(Line(report, 2).size(), 4 * 21 - 1);  // RAX=16 digits, four to a line
    EXPECT_EQ(Line(report, 2).substr(0, 4), "RAX=");
    EXPECT_EQ(Line(report, 3).substr(0, 4), "RSI=");
    EXPECT_EQ(Line(report, 4).size(), 20u);
    EXPECT_EQ(Line(report, 5).size(), std::string("Stack Data: ").size() + 447);
    EXPECT_EQ(Line(report, 6).size(), std::string("Code Data: ").size() + 383);
    // The address of the fault is where RIP stood.
    EXPECT_EQ(Line(report, 0).substr(30, 16), Line(report, 4).substr(4));

    // The window goes on working.
    EXPECT_TRUE(IsWindow(window->hwnd));
    EXPECT_EQ(SendMessageA(window->hwnd, WM_COMMAND, IDM_SELECT_ALL, 0), 0);
}

TEST_F(CrashReportTest, CopyPutsTheWholeReportOnTheClipboardAndLeavesNoSelection) {
    std::string report, clipboard;
    DWORD start = 1, end = 2;
    DialogDriver driver([&](HWND d) {
        report = WindowText(GetDlgItem(d, IDC_CRASH_TEXT));
        ClickButton(d, IDC_CRASH_COPY);
        clipboard = ClipboardText();
        SendDlgItemMessageA(d, IDC_CRASH_TEXT, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                            reinterpret_cast<LPARAM>(&end));
        ClickButton(d, IDC_CRASH_CONTINUE);
    });
    SendMessageA(window->hwnd, WM_COMMAND, IDM_TEST_FAULT, 0);
    EXPECT_FALSE(report.empty());
    EXPECT_EQ(clipboard, report);
    EXPECT_EQ(start, end);
}

TEST_F(CrashReportTest, AFaultWhileTheReportShowsIsNotReportedAgain) {
    LRESULT inner = -1;
    DialogDriver driver([&](HWND d) {
        inner = CallGuarded(d, JumpToNowhere, nullptr);
        ClickButton(d, IDC_CRASH_CONTINUE);
    });
    SendMessageA(window->hwnd, WM_COMMAND, IDM_TEST_FAULT, 0);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(driver.Count(), 1);
}

TEST_F(CrashReportTest, AJumpOutsideEveryModuleReportsUnknownAndNoCode) {
    std::string report;
    DialogDriver driver([&](HWND d) {
        report = WindowText(GetDlgItem(d, IDC_CRASH_TEXT));
        ClickButton(d, IDC_CRASH_CONTINUE);
    });
    EXPECT_EQ(CallGuarded(window->hwnd, JumpToNowhere, nullptr), 0);
    EXPECT_EQ(Line(report, 0), "Exception C0000005 at address 0000000000000010 in module {Unknown}");
    EXPECT_EQ(Line(report, 4), "RIP=0000000000000010");
    EXPECT_EQ(Line(report, 6), "Code Data: ");
    EXPECT_EQ(Line(report, 5).size(), std::string("Stack Data: ").size() + 447);
}
