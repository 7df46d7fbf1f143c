// The main window's life: settings at first run and at exit, placement,
// command states, every menu command, and the handles it owns.
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
        if (!GetSubMenu(menu, i) && GetMenuItemID(menu, i) != 0) out->insert(static_cast<int>(GetMenuItemID(menu, i)));
    }
}

}  // namespace

TEST_F(MainWindowTest, FirstRunWritesEveryKeyInOrderWithItsDefault) {
    Open();
    unsigned char layout[72] = {};  // width and position of each column, as the list holds them
    int order[18];
    ListView_GetColumnOrderArray(list, 18, order);
    for (int i = 0; i < 18; ++i) {
        layout[i * 4] = static_cast<unsigned char>(ListView_GetColumnWidth(list, i) & 0xFF);
        layout[i * 4 + 1] = static_cast<unsigned char>(ListView_GetColumnWidth(list, i) >> 8);
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
    ASSERT_TRUE(DeleteFileA(SettingsPath().c_str()));  // written then
    SendMessageA(hwnd, UM_RUNADDRESSTEXT, 0, 0);  // finds the list released and does nothing
    DestroyWindow(hwnd);
    EXPECT_EQ(GetFileAttributesA(SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES);  // not written again
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // the loop would end
}

TEST_F(MainWindowTest, WinPosRoundTripsAndOneBeyondTheScreenIsIgnored) {
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
    WINDOWPLACEMENT p = {};
    p.length = 44;
    p.showCmd = SW_SHOWNORMAL;
    p.rcNormalPosition = {GetSystemMetrics(SM_CXSCREEN) - 10, 10, GetSystemMetrics(SM_CXSCREEN) + 300, 300};
    std::string text = ReadFileBytes(SettingsPath());
    const size_t at = text.find("WinPos=") + 7;
    WriteFileBytes(SettingsPath(), text.replace(at, text.find("\r\n", at) - at, EncodeHexBytes(&p, 44)));
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
    ASSERT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 10);
    for (int i = 0; i < 10; ++i) {
        TBBUTTON b = {};
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        EXPECT_TRUE((b.fsStyle & TBSTYLE_SEP) || ButtonEnabled(b.idCommand) == MenuEnabled(b.idCommand)) << i;
    }
}

// Every command of the menu bar does its work (Stop and the browser's page
// have their own tests).
TEST_F(MainWindowTest, EveryMenuCommandIsHandled) {
    WriteSettings("ResolveIPAddr=0\r\n");
    Open();
    AddRows({"198.51.100.7", "203.0.113.9"});
    SetShellOpener(RecordOpen);
    DialogDriver driver([](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
    const auto style = [&] { return ListView_GetExtendedListViewStyle(list); };
    const auto opens = [&](int id) {
        const int before = driver.Count();
        Command(id);
        return driver.Count() == before + 1;
    };
    const auto selects = [&](int id, UINT rows) {
        SetFocus(list);
        Select({0});
        Command(id);
        return ListView_GetSelectedCount(list) == rows;
    };
    const auto reports = [&](int id) {
        g_opened.clear();
        Command(id);
        return !ReadFileBytes(g_opened).empty();
    };
    std::map<int, std::function<bool()>> effects = {
        {IDM_SELECT_IP, [&] { return opens(IDM_SELECT_IP); }},
        {IDM_SAVE_WHOIS, [&] { return opens(IDM_SAVE_WHOIS); }},
        {IDM_CHOOSE_COLUMNS, [&] { return opens(IDM_CHOOSE_COLUMNS); }},
        {IDM_ABOUT, [&] { return opens(IDM_ABOUT); }},
        {IDM_PROPERTIES, [&] { return selects(0, 1) && opens(IDM_PROPERTIES); }},
        {IDM_SAVE_SELECTED, [&] { return selects(0, 1) && opens(IDM_SAVE_SELECTED); }},
        {IDM_FIND, [&] { return Command(IDM_FIND), FindDialog() != nullptr; }},  // modeless
        {IDM_SHOW_GRID, [&] { return Command(IDM_SHOW_GRID), MenuChecked(IDM_SHOW_GRID) && (style() & LVS_EX_GRIDLINES); }},
        {IDM_SHOW_TOOLTIPS,
         [&] { return Command(IDM_SHOW_TOOLTIPS), !MenuChecked(IDM_SHOW_TOOLTIPS) && !(style() & LVS_EX_INFOTIP); }},
        {IDM_SELECT_ALL, [&] { return selects(IDM_SELECT_ALL, 2); }},
        {IDM_DESELECT_ALL, [&] { return selects(IDM_DESELECT_ALL, 0); }},
        {IDM_COPY, [&] { return SetClipboardText("x"), selects(IDM_COPY, 1) && ClipboardText().rfind("1\t", 0) == 0; }},
        {IDM_HTML_VERTICAL, [&] { return reports(IDM_HTML_VERTICAL); }},
        {IDM_HTML_HORIZONTAL, [&] { return reports(IDM_HTML_HORIZONTAL); }},
        {IDM_AUTOSIZE_COLUMNS, [&] {
             ListView_SetColumnWidth(list, 1, 3);
             return Command(IDM_AUTOSIZE_COLUMNS), ListView_GetColumnWidth(list, 1) > 3;
         }},
        {IDM_STOP, [] { return true; }},
        {IDM_SHOW_MY_IP, [] { return true; }},
        {IDM_EXIT, [&] { return Command(IDM_EXIT), !IsWindow(hwnd); }},
    };
    std::set<int> commands;
    MenuCommands(GetMenu(hwnd), &commands);
    for (int id : commands) ASSERT_EQ(effects.count(id), 1u) << "no check for command " << id;
    for (const auto& effect : effects) EXPECT_TRUE(effect.first == IDM_EXIT || effect.second()) << effect.first;
    EXPECT_TRUE(effects[IDM_EXIT]());  // last: it ends the window and writes the settings
    SetShellOpener(nullptr);
    const std::string settings = ReadFileBytes(SettingsPath());
    EXPECT_NE(settings.find("ShowGridLines=1\r\n"), std::string::npos);
    EXPECT_NE(settings.find("ShowInfoTip=0\r\n"), std::string::npos);
}

// Wine counts no GDI and USER objects, so the menus and image lists the
// window owns are checked one by one.
TEST_F(MainWindowTest, CreateAndCloseLeaksNoHandles) {
    for (int i = 0; i < 2; ++i) {
        Open();
        HMENU context = ContextMenu(*window);
        HWND header = ListView_GetHeader(list);
        ASSERT_TRUE(IsMenu(context));
        ASSERT_GT(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(SendMessageA(header, HDM_GETIMAGELIST, 0, 0))), 0);
        Close();
        EXPECT_FALSE(IsMenu(context));
    }
}
