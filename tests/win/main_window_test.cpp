#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "framework/app.h"
#include "app/main_window.h"
#include "framework/messages.h"
#include "base/settings_file.h"
#include "win_test_support.h"

namespace {

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A main window created in this process as the program creates it.
struct MainWindowFixture : ::testing::Test {
    CommandLine commandLine;
    MainWindow* window = nullptr;

    void Open(const char* args = "/nodlgstart") {
        commandLine.Build(args);
        window = new MainWindow();
        window->commandLine = &commandLine;
        ASSERT_TRUE(window->Create());
        PumpMessages();
    }
    void Close() {
        if (window && window->hwnd && IsWindow(window->hwnd)) DestroyWindow(window->hwnd);
        PumpMessages();
        delete window;
        window = nullptr;
    }
    void TearDown() override { Close(); }

    UINT MenuState(int command) { return GetMenuState(window->mainMenu, command, MF_BYCOMMAND); }
    bool ButtonEnabled(int command) {
        return SendMessageA(window->toolbar, TB_ISBUTTONENABLED, command, 0) != 0;
    }
};

std::string DefaultColumnsHex() {
    const int widths[18] = {50, 100, 80, 100, 80, 150, 100, 100, 80, 140, 250, 130, 130, 150, 150, 120, 120, 150};
    unsigned char bytes[72];
    for (int i = 0; i < 18; ++i) {
        bytes[i * 4] = static_cast<unsigned char>(widths[i] & 0xFF);
        bytes[i * 4 + 1] = static_cast<unsigned char>(widths[i] >> 8);
        bytes[i * 4 + 2] = static_cast<unsigned char>(i);
        bytes[i * 4 + 3] = 0;
    }
    return EncodeHexBytes(bytes, 72);
}

}  // namespace

TEST_F(MainWindowFixture, FirstRunWritesEveryKeyInOrderWithItsDefault) {
    DeleteFileA(TestSettingsPath().c_str());
    Open();
    Close();
    const std::string text = ReadFileBytes(TestSettingsPath());
    const std::string expectedHead =
        "[General]\r\nShowGridLines=0\r\nSaveFilterIndex=0\r\nHostNameToIP=0\r\nLoadOnlyLastIP=0\r\n"
        "SplitLoc=21844\r\nResolveIPAddr=1\r\nPause=0\r\nPauseTime=30\r\nPauseCount=10\r\nShowInfoTip=1\r\n"
        "FindServerByIP=1\r\nWinPos=2C 00 00 00 ";
    ASSERT_EQ(text.substr(0, expectedHead.size()), expectedHead);
    const size_t winPos = text.find("WinPos=");
    const size_t lineEnd = text.find("\r\n", winPos);
    EXPECT_EQ(lineEnd - winPos - 7, 44u * 3 - 1);  // 44 pairs
    const std::string tail = text.substr(lineEnd);
    EXPECT_EQ(tail, "\r\nColumns=" + DefaultColumnsHex() + "\r\nSort=0\r\n");
}

TEST_F(MainWindowFixture, ShutdownRunsOnceForSessionEndAndDestroy) {
    DeleteFileA(TestSettingsPath().c_str());
    Open();
    SendMessageA(window->hwnd, WM_QUERYENDSESSION, 0, 0);
    EXPECT_TRUE(window->shutDown);
    EXPECT_EQ(window->settingsWrites, 1);
    // Later messages find the list released and do nothing.
    SendMessageA(window->hwnd, UM_RUNADDRESSTEXT, 0, 0);
    DestroyWindow(window->hwnd);
    EXPECT_EQ(window->settingsWrites, 1);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // the loop would end
}

TEST_F(MainWindowFixture, WinPosRoundTripsAndImplausibleOnesAreIgnored) {
    DeleteFileA(TestSettingsPath().c_str());
    Open();
    SetWindowPos(window->hwnd, nullptr, 33, 44, 500, 400, SWP_NOZORDER);
    Close();
    Open();
    RECT r;
    GetWindowRect(window->hwnd, &r);
    EXPECT_EQ(r.left, 33);
    EXPECT_EQ(r.top, 44);
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 400);
    Close();

    // Normal rectangle beyond the right edge of the screen: not applied.
    WINDOWPLACEMENT p = {};
    p.length = 44;
    p.showCmd = SW_SHOWNORMAL;
    p.rcNormalPosition = {GetSystemMetrics(SM_CXSCREEN) - 10, 10, GetSystemMetrics(SM_CXSCREEN) + 300, 300};
    std::string text = ReadFileBytes(TestSettingsPath());
    const size_t at = text.find("WinPos=") + 7;
    text.replace(at, text.find("\r\n", at) - at, EncodeHexBytes(&p, 44));
    WriteFileBytes(TestSettingsPath(), text);
    Open();
    GetWindowRect(window->hwnd, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right - r.left, 640);
}

TEST_F(MainWindowFixture, EmptyListCommandStates) {
    DeleteFileA(TestSettingsPath().c_str());
    Open();
    for (int disabled : {IDM_PROPERTIES, IDM_SAVE_SELECTED, IDM_COPY, IDM_STOP, IDM_AUTOSIZE_COLUMNS,
                         IDM_HTML_HORIZONTAL, IDM_HTML_VERTICAL, IDM_FIND}) {
        EXPECT_TRUE(MenuState(disabled) & MF_GRAYED) << disabled;
    }
    for (int enabled : {IDM_SELECT_IP, IDM_SAVE_WHOIS, IDM_EXIT, IDM_SELECT_ALL, IDM_DESELECT_ALL, IDM_CHOOSE_COLUMNS,
                        IDM_ABOUT, IDM_SHOW_MY_IP}) {
        EXPECT_FALSE(MenuState(enabled) & MF_GRAYED) << enabled;
    }
    EXPECT_FALSE(MenuState(IDM_SHOW_GRID) & MF_CHECKED);
    EXPECT_TRUE(MenuState(IDM_SHOW_TOOLTIPS) & MF_CHECKED);
    // Toolbar: ten buttons with two separators, enabled like the menu.
    EXPECT_EQ(SendMessageA(window->toolbar, TB_BUTTONCOUNT, 0, 0), 10);
    const int commands[10] = {0, IDM_SELECT_IP, IDM_STOP, 0, IDM_HTML_VERTICAL, IDM_SAVE_SELECTED, IDM_COPY,
                              IDM_PROPERTIES, IDM_FIND, IDM_EXIT};
    const int images[10] = {-1, 6, 5, -1, 7, 1, 2, 3, 0, 4};
    for (int i = 0; i < 10; ++i) {
        TBBUTTON b = {};
        SendMessageA(window->toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        EXPECT_EQ(b.idCommand, commands[i]) << i;
        if (images[i] >= 0) {
            EXPECT_EQ(b.iBitmap, images[i]) << i;
        } else {
            EXPECT_TRUE(b.fsStyle & TBSTYLE_SEP) << i;
        }
    }
    EXPECT_TRUE(ButtonEnabled(IDM_SELECT_IP));
    EXPECT_TRUE(ButtonEnabled(IDM_EXIT));
    EXPECT_FALSE(ButtonEnabled(IDM_STOP));
    EXPECT_FALSE(ButtonEnabled(IDM_HTML_VERTICAL));
    EXPECT_FALSE(ButtonEnabled(IDM_PROPERTIES));
    EXPECT_FALSE(ButtonEnabled(IDM_FIND));
    // The status bar shows the item count.
    char status[256] = {};
    SendMessageA(window->statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
    window->UpdateStatusBar();
    SendMessageA(window->statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
    EXPECT_STREQ(status, "\xB9\xB2 0 \xCF\xEE");  // "共 0 项" in code page 936
}

TEST_F(MainWindowFixture, GridLinesToggleFlipsCheckAndListStyle) {
    DeleteFileA(TestSettingsPath().c_str());
    Open();
    auto style = [&] { return ListView_GetExtendedListViewStyle(window->listView); };
    EXPECT_FALSE(style() & LVS_EX_GRIDLINES);
    EXPECT_TRUE(style() & LVS_EX_INFOTIP);
    EXPECT_TRUE(style() & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(style() & LVS_EX_HEADERDRAGDROP);
    SendMessageA(window->hwnd, WM_COMMAND, IDM_SHOW_GRID, 0);
    EXPECT_TRUE(MenuState(IDM_SHOW_GRID) & MF_CHECKED);
    EXPECT_TRUE(style() & LVS_EX_GRIDLINES);
    SendMessageA(window->hwnd, WM_COMMAND, IDM_SHOW_TOOLTIPS, 0);
    EXPECT_FALSE(MenuState(IDM_SHOW_TOOLTIPS) & MF_CHECKED);
    EXPECT_FALSE(style() & LVS_EX_INFOTIP);
    SendMessageA(window->hwnd, WM_COMMAND, IDM_SHOW_GRID, 0);
    EXPECT_FALSE(MenuState(IDM_SHOW_GRID) & MF_CHECKED);
    EXPECT_FALSE(style() & LVS_EX_GRIDLINES);
    Close();
    EXPECT_NE(ReadFileBytes(TestSettingsPath()).find("ShowInfoTip=0\r\n"), std::string::npos);
}

// Wine reports no object counts (GetGuiResources gives 0), so the menus and
// image lists the window owns are also checked one by one.
TEST_F(MainWindowFixture, CreateAndCloseLeaksNoHandles) {
    Open();
    Close();
    const int gdi = GdiObjectCount();
    const int user = UserObjectCount();
    for (int i = 0; i < 3; ++i) {
        Open();
        HMENU context = window->contextMenu;
        HWND header = ListView_GetHeader(window->listView);
        HIMAGELIST arrows = reinterpret_cast<HIMAGELIST>(SendMessageA(header, HDM_GETIMAGELIST, 0, 0));
        ASSERT_TRUE(IsMenu(context));
        ASSERT_GT(ImageList_GetImageCount(arrows), 0);
        Close();
        EXPECT_FALSE(IsMenu(context));
    }
    EXPECT_EQ(GdiObjectCount(), gdi);
    EXPECT_EQ(UserObjectCount(), user);
}

TEST_F(MainWindowFixture, SplitBarLayout) {
    DeleteFileA(TestSettingsPath().c_str());
    Open();
    ShowWindow(window->hwnd, SW_SHOW);
    SetWindowPos(window->hwnd, nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    PumpMessages();
    RECT client, list, pane;
    GetClientRect(window->hwnd, &client);
    const Splitter& s = *window->splitter;
    const int available = client.bottom - s.topReserve - s.bottomReserve;
    EXPECT_EQ(s.barTop, s.topReserve + 21844 * available / 32767);
    GetWindowRect(window->listView, &list);
    GetWindowRect(window->textPane, &pane);
    MapWindowPoints(nullptr, window->hwnd, reinterpret_cast<POINT*>(&list), 2);
    MapWindowPoints(nullptr, window->hwnd, reinterpret_cast<POINT*>(&pane), 2);
    EXPECT_EQ(list.top, s.topReserve);
    EXPECT_EQ(list.bottom, s.barTop);
    EXPECT_EQ(pane.top, s.barTop + 4);
    EXPECT_EQ(pane.bottom, client.bottom - s.bottomReserve);
    EXPECT_EQ(list.right - list.left, client.right);
}
