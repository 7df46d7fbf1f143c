// The main window's life: settings at first run and at exit, placement,
// layout, command states, every menu command, and the handles it owns.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>

#include "main_window_fixture.h"
#include "reports/report_file_win.h"
#include "resources/resource_ids.h"
#include "shell/messages.h"
#include "shell/settings_file.h"
#include "win_test_support.h"

namespace {

std::string g_opened;
void RecordOpen(HWND, const char* path) { g_opened = path; }

void MenuCommands(HMENU menu, std::set<int>* out) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) MenuCommands(sub, out);
        else if (GetMenuItemID(menu, i) != 0) out->insert(static_cast<int>(GetMenuItemID(menu, i)));
    }
}

}  // namespace

TEST_F(MainWindowTest, FirstRunWritesEveryKeyInOrderWithItsDefault) {
    Open();
    // The column layout as the list holds it: width and position of each column.
    unsigned char layout[72] = {};
    int order[18];
    ListView_GetColumnOrderArray(list, 18, order);
    for (int i = 0; i < 18; ++i) {
        const int width = ListView_GetColumnWidth(list, i);
        layout[i * 4] = static_cast<unsigned char>(width & 0xFF);
        layout[i * 4 + 1] = static_cast<unsigned char>(width >> 8);
        layout[order[i] * 4 + 2] = static_cast<unsigned char>(i);
    }
    Close();
    const std::string text = ReadFileBytes(SettingsPath());
    const std::string head =
        "[General]\r\nShowGridLines=0\r\nSaveFilterIndex=0\r\nHostNameToIP=0\r\nLoadOnlyLastIP=0\r\n"
        "SplitLoc=21844\r\nResolveIPAddr=1\r\nPause=0\r\nPauseTime=30\r\nPauseCount=10\r\nShowInfoTip=1\r\n"
        "FindServerByIP=1\r\nWinPos=2C 00 00 00 ";
    ASSERT_EQ(text.substr(0, head.size()), head);
    const size_t lineEnd = text.find("\r\n", head.size());
    EXPECT_EQ(lineEnd - head.size(), 40u * 3 - 1);  // 44 bytes in all
    EXPECT_EQ(text.substr(lineEnd), "\r\nColumns=" + EncodeHexBytes(layout, 72) + "\r\nSort=0\r\n");
}

TEST_F(MainWindowTest, ShutdownRunsOnceForSessionEndAndDestroy) {
    Open();
    SendMessageA(hwnd, WM_QUERYENDSESSION, 0, 0);
    ASSERT_FALSE(ReadFileBytes(SettingsPath()).empty());
    DeleteFileA(SettingsPath().c_str());
    // Later messages find the list released and do nothing; nothing is written again.
    SendMessageA(hwnd, UM_RUNADDRESSTEXT, 0, 0);
    DestroyWindow(hwnd);
    EXPECT_EQ(GetFileAttributesA(SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // the loop would end
}

TEST_F(MainWindowTest, WinPosRoundTripsAndImplausibleOnesAreIgnored) {
    Open();
    SetWindowPos(hwnd, nullptr, 33, 44, 500, 400, SWP_NOZORDER);
    Close();
    Open();
    RECT r;
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 33);
    EXPECT_EQ(r.top, 44);
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 400);
    Close();
    // A normal rectangle beyond the right edge of the screen is not applied.
    WINDOWPLACEMENT p = {};
    p.length = 44;
    p.showCmd = SW_SHOWNORMAL;
    p.rcNormalPosition = {GetSystemMetrics(SM_CXSCREEN) - 10, 10, GetSystemMetrics(SM_CXSCREEN) + 300, 300};
    std::string text = ReadFileBytes(SettingsPath());
    const size_t at = text.find("WinPos=") + 7;
    text.replace(at, text.find("\r\n", at) - at, EncodeHexBytes(&p, 44));
    WriteFileBytes(SettingsPath(), text);
    Open();
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right - r.left, 640);
}

TEST_F(MainWindowTest, AnEmptyListDisablesWhatNeedsRowsInMenuAndToolbarAlike) {
    Open();
    for (int id : {IDM_PROPERTIES, IDM_SAVE_SELECTED, IDM_COPY, IDM_STOP, IDM_AUTOSIZE_COLUMNS, IDM_HTML_HORIZONTAL,
                   IDM_HTML_VERTICAL, IDM_FIND}) {
        EXPECT_FALSE(MenuEnabled(id)) << id;
    }
    for (int id : {IDM_SELECT_IP, IDM_SAVE_WHOIS, IDM_EXIT, IDM_SELECT_ALL, IDM_CHOOSE_COLUMNS, IDM_ABOUT}) {
        EXPECT_TRUE(MenuEnabled(id)) << id;
    }
    EXPECT_FALSE(MenuChecked(IDM_SHOW_GRID));
    EXPECT_TRUE(MenuChecked(IDM_SHOW_TOOLTIPS));
    const int buttons = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    EXPECT_EQ(buttons, 10);
    for (int i = 0; i < buttons; ++i) {
        TBBUTTON b = {};
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        if (!(b.fsStyle & TBSTYLE_SEP)) {
            EXPECT_EQ(ButtonEnabled(b.idCommand), MenuEnabled(b.idCommand)) << b.idCommand;
        }
    }
}

// Every command of the menu bar does its work (a lookup's Stop and the
// browser's page have their own tests).
TEST_F(MainWindowTest, EveryMenuCommandIsHandled) {
    WriteSettings("ResolveIPAddr=0\r\n");
    Open();
    AddRows({"198.51.100.7", "203.0.113.9"});
    SetShellOpener(RecordOpen);
    DialogDriver driver([](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
    auto style = [&] { return ListView_GetExtendedListViewStyle(list); };
    auto opens = [&](int id) {
        const int before = driver.Count();
        Command(id);
        return driver.Count() == before + 1;
    };
    auto selecting = [&](int id, int rows) {
        SetFocus(list);
        Select({0});
        Command(id);
        return ListView_GetSelectedCount(list) == static_cast<UINT>(rows);
    };
    auto reporting = [&](int id) {
        g_opened.clear();
        Command(id);
        return !ReadFileBytes(g_opened).empty();
    };
    std::map<int, std::function<bool()>> effects = {
        {IDM_SELECT_IP, [&] { return opens(IDM_SELECT_IP); }},
        {IDM_SAVE_WHOIS, [&] { return opens(IDM_SAVE_WHOIS); }},
        {IDM_CHOOSE_COLUMNS, [&] { return opens(IDM_CHOOSE_COLUMNS); }},
        {IDM_ABOUT, [&] { return opens(IDM_ABOUT); }},
        {IDM_FIND, [&] { Command(IDM_FIND); return FindDialog() != nullptr; }},  // modeless
        {IDM_PROPERTIES, [&] { Select({1}); return opens(IDM_PROPERTIES); }},
        {IDM_SAVE_SELECTED, [&] { Select({0}); return opens(IDM_SAVE_SELECTED); }},
        {IDM_SHOW_GRID, [&] { Command(IDM_SHOW_GRID); return MenuChecked(IDM_SHOW_GRID) && (style() & LVS_EX_GRIDLINES); }},
        {IDM_SHOW_TOOLTIPS,
         [&] { Command(IDM_SHOW_TOOLTIPS); return !MenuChecked(IDM_SHOW_TOOLTIPS) && !(style() & LVS_EX_INFOTIP); }},
        {IDM_SELECT_ALL, [&] { return selecting(IDM_SELECT_ALL, 2); }},
        {IDM_DESELECT_ALL, [&] { return selecting(IDM_DESELECT_ALL, 0); }},
        {IDM_COPY, [&] { SetClipboardText("x"); return selecting(IDM_COPY, 1) && ClipboardText().rfind("1\t", 0) == 0; }},
        {IDM_HTML_VERTICAL, [&] { return reporting(IDM_HTML_VERTICAL); }},
        {IDM_HTML_HORIZONTAL, [&] { return reporting(IDM_HTML_HORIZONTAL); }},
        {IDM_AUTOSIZE_COLUMNS,
         [&] { ListView_SetColumnWidth(list, 1, 3); Command(IDM_AUTOSIZE_COLUMNS); return ListView_GetColumnWidth(list, 1) > 3; }},
        {IDM_STOP, [] { return true; }},
        {IDM_SHOW_MY_IP, [] { return true; }},
        {IDM_EXIT, [&] { Command(IDM_EXIT); return !IsWindow(hwnd); }},
    };
    std::set<int> commands;
    MenuCommands(GetMenu(hwnd), &commands);
    for (int id : commands) ASSERT_EQ(effects.count(id), 1u) << "no check for command " << id;
    for (const auto& effect : effects) {
        if (effect.first != IDM_EXIT) {
            EXPECT_TRUE(effect.second()) << effect.first;
        }
    }
    EXPECT_TRUE(effects[IDM_EXIT]());  // last: it ends the window
    SetShellOpener(nullptr);
    const std::string settings = ReadFileBytes(SettingsPath());
    EXPECT_NE(settings.find("ShowGridLines=1\r\n"), std::string::npos);
    EXPECT_NE(settings.find("ShowInfoTip=0\r\n"), std::string::npos);
}

// Wine reports no object counts (GetGuiResources gives 0), so the menus and
// image lists the window owns are also checked one by one.
TEST_F(MainWindowTest, CreateAndCloseLeaksNoHandles) {
    Open();
    Close();
    const int gdi = GdiObjectCount();
    const int user = UserObjectCount();
    for (int i = 0; i < 3; ++i) {
        Open();
        HMENU context = ContextMenu(*window);
        HIMAGELIST arrows =
            reinterpret_cast<HIMAGELIST>(SendMessageA(ListView_GetHeader(list), HDM_GETIMAGELIST, 0, 0));
        ASSERT_TRUE(IsMenu(context));
        ASSERT_GT(ImageList_GetImageCount(arrows), 0);
        Close();
        EXPECT_FALSE(IsMenu(context));
    }
    EXPECT_EQ(GdiObjectCount(), gdi);
    EXPECT_EQ(UserObjectCount(), user);
}

TEST_F(MainWindowTest, TheSplitBarSharesTheRoomBetweenToolbarAndStatusBar) {
    Open();
    ShowWindow(hwnd, SW_SHOW);
    SetWindowPos(hwnd, nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    PumpMessages();
    RECT client;
    GetClientRect(hwnd, &client);
    const RECT bar = RectIn(toolbar, hwnd), foot = RectIn(status, hwnd), rows = RectIn(list, hwnd);
    const int top = bar.bottom - bar.top;
    const int available = client.bottom - top - (foot.bottom - foot.top);
    EXPECT_EQ(rows.top, top);
    EXPECT_EQ(rows.bottom, top + 21844 * available / 32767);
    EXPECT_EQ(rows.right - rows.left, client.right);
    EXPECT_EQ(foot.bottom, client.bottom);
    if (pane) {
        const RECT text = RectIn(pane, hwnd);
        EXPECT_EQ(text.top, rows.bottom + 4);
        EXPECT_EQ(text.bottom, foot.top);
    }
}
