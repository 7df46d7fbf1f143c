// The main window and its result list, created in this process: settings at
// first run and at exit, placement, command states, the menu commands, the
// handles it owns; selection, Find and the layout kept across runs.
#include <windows.h>
#include <dlgs.h>

#include <utility>

#include "framework/messages.h"
#include "resources/resource_ids.h"
#include "win_test_support.h"

TEST_F(MainWindowTest, AFirstRunDisablesWhatNeedsRowsAndWritesEveryKeyInOrder) {
    Open("/nodlgstart /rdap");  // RDAP for this run only: UseRdap stays 0
    for (int id :
         {IDM_PROPERTIES, IDM_SAVE_SELECTED, IDM_COPY, IDM_STOP, IDM_AUTOSIZE_COLUMNS, IDM_HTML_VERTICAL, IDM_FIND}) {
        EXPECT_FALSE(MenuEnabled(id) || (id != IDM_AUTOSIZE_COLUMNS && ButtonEnabled(id))) << id;  // no button
    }
    EXPECT_TRUE(MenuEnabled(IDM_SAVE_WHOIS) && MenuEnabled(IDM_SELECT_ALL) && ButtonEnabled(IDM_SELECT_IP));
    Close();
    const std::string text = ReadFileBytes(SettingsPath());
    const std::string head =
        "[General]\r\nShowGridLines=0\r\nSaveFilterIndex=0\r\nHostNameToIP=0\r\nLoadOnlyLastIP=0\r\n"
        "SplitLoc=21844\r\nResolveIPAddr=1\r\nPause=0\r\nPauseTime=30\r\nPauseCount=10\r\nShowInfoTip=1\r\n"
        "FindServerByIP=1\r\nArinQueriesPerMinute=0\r\nRipeQueriesPerMinute=0\r\nApnicQueriesPerMinute=0\r\n"
        "LacnicQueriesPerMinute=5\r\nAfrinicQueriesPerMinute=0\r\nReuseMaxAddresses=256\r\nMaxConversations=1\r\n"
        "UseRdap=0\r\nRipeDailyContacts=900\r\nApnicDailyContacts=900\r\nAfrinicDailyContacts=4500\r\nWinPos=2C 00 00 "
        "00 ";
    ASSERT_EQ(text.substr(0, head.size()), head);
    const size_t lineEnd = text.find("\r\n", head.size());
    EXPECT_EQ(lineEnd - head.size(), 40u * 3 - 1);  // 44 bytes in all
    // 72 bytes of widths and positions, which a restart must bring back (the placement test)
    EXPECT_EQ(text.substr(lineEnd, 10) + text.substr(lineEnd + 10 + 72 * 3 - 1), "\r\nColumns=\r\nSort=0\r\n");
}

// Every command of the menu bar is handled: those without a test of their
// own are checked here (the public-address page would start the browser).
TEST_F(MainWindowTest, EveryMenuCommandIsHandled) {
    WriteSettings("ResolveIPAddr=0\r\n");
    Open();
    AddRows({"198.51.100.7", "203.0.113.9"});
    DialogDriver driver([](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
    SetFocus(list);
    Select({0});
    ListView_SetColumnWidth(list, 1, 3);
    const auto style = [&] { return ListView_GetExtendedListViewStyle(list); };
    const std::pair<int, std::function<bool()>> effects[] = {
        {IDM_ABOUT, [&] { return driver.Count() == 1; }},
        {IDM_SHOW_GRID, [&] { return MenuChecked(IDM_SHOW_GRID) && (style() & LVS_EX_GRIDLINES); }},
        {IDM_SHOW_TOOLTIPS, [&] { return !MenuChecked(IDM_SHOW_TOOLTIPS) && !(style() & LVS_EX_INFOTIP); }},
        {IDM_DESELECT_ALL, [&] { return ListView_GetSelectedCount(list) == 0; }},
        {IDM_AUTOSIZE_COLUMNS, [&] { return ListView_GetColumnWidth(list, 1) > 3; }},
    };
    std::set<int> commands,
        checked = {IDM_SELECT_IP,     IDM_SAVE_WHOIS, IDM_SAVE_SELECTED, IDM_CHOOSE_COLUMNS, IDM_PROPERTIES,
                   IDM_FIND,          IDM_SELECT_ALL, IDM_COPY,          IDM_STOP,           IDM_HTML_HORIZONTAL,
                   IDM_HTML_VERTICAL, IDM_SHOW_MY_IP};
    for (const auto& effect : effects) {
        Command(effect.first);
        EXPECT_TRUE(effect.second()) << effect.first;
        checked.insert(effect.first);
    }
    MenuCommands(GetMenu(hwnd), &commands);
    checked.insert(IDM_EXIT);
    EXPECT_EQ(commands, checked);  // a new command needs its check
    Command(IDM_EXIT);             // (the menu's checks show the options that the settings file takes at exit)
    EXPECT_FALSE(IsWindow(hwnd));
}

// Wine counts no GDI and USER objects, so the menus and image lists the
// window owns are checked one by one.
TEST_F(MainWindowTest, ShutdownRunsOnceForSessionEndAndDestroyAndLeaksNoHandles) {
    Open();
    HMENU context = ContextMenu();
    HWND header = ListView_GetHeader(list);
    ASSERT_TRUE(IsMenu(context));
    ASSERT_GT(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(SendMessageA(header, HDM_GETIMAGELIST, 0, 0))), 0);
    SendMessageA(hwnd, WM_QUERYENDSESSION, 0, 0);
    ASSERT_TRUE(DeleteFileA(SettingsPath().c_str()));  // written then
    SendMessageA(hwnd, UM_RUNADDRESSTEXT, 0, 0);       // finds the list released and does nothing
    DestroyWindow(hwnd);
    EXPECT_EQ(GetFileAttributesA(SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES);  // not written again
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // the loop would end
    Close();
    EXPECT_FALSE(IsMenu(context));
}

namespace {

using V = std::vector<std::string>;

struct ResultListTest : MainWindowTest {
    // Adds the addresses of text as a reload does: no run starts.
    void Reload(const char* text) {
        SetAddressText(text);
        SendMessageA(hwnd, UM_RELOADADDRESSTEXT, 0, 0);
        PumpMessages();
    }
    int Arrow(int column) {  // the sort arrow's image in a header item, -1 for none
        HDITEMA item = {};
        item.mask = HDI_FORMAT | HDI_IMAGE;
        SendMessageA(ListView_GetHeader(list), HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
        return (item.fmt & HDF_IMAGE) ? item.iImage + ((item.fmt & HDF_BITMAP_ON_RIGHT) ? 0 : 10) : -1;
    }
    // "Find Next" in the Find dialog, opened by the command on first use.
    int Find(const char* text, bool down, bool wholeWord) {
        if (!FindDialogHandle()) Command(IDM_FIND);
        HWND dialog = FindDialogHandle();
        SetDlgItemTextA(dialog, edt1, text);
        CheckRadioButton(dialog, rad1, rad2, down ? rad2 : rad1);
        CheckDlgButton(dialog, chx1, wholeWord ? BST_CHECKED : BST_UNCHECKED);
        ClickButton(dialog, IDOK);
        EXPECT_EQ(ListView_GetSelectedCount(list), 1u);
        return ListView_GetNextItem(list, -1, LVNI_SELECTED);
    }
};

}  // namespace

TEST_F(ResultListTest, SelectingAllPostsOneSelectionChange) {
    Open();
    std::string text;
    for (int i = 1; i <= 200; ++i) text += "11.0." + std::to_string(i / 100) + "." + std::to_string(i % 100) + " ";
    Reload(text.c_str());
    SetFocus(list);
    Command(IDM_SELECT_ALL);
    EXPECT_EQ(ListView_GetSelectedCount(list), 200u);
    int posted = 0;
    for (MSG msg; PeekMessageA(&msg, hwnd, UM_SELECTIONCHANGED, UM_SELECTIONCHANGED, PM_REMOVE); ++posted) {
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(posted, 1);
    // Handled: the status bar counts both, and properties needs exactly one.
    EXPECT_EQ(StatusText(status), "\xB9\xB2 200 \xCF\xEE, \xD2\xD1\xD1\xA1\xB6\xA8 200 \xB8\xF6");
    EXPECT_FALSE(MenuEnabled(IDM_PROPERTIES));
    EXPECT_TRUE(MenuEnabled(IDM_COPY));
}

// (Hidden columns, searched and never copied, are the core's.)
TEST_F(ResultListTest, FindWrapsAndGivesUpAfterTheSecondWrap) {
    Open();
    Reload("11.0.0.1 11.0.0.2 11.0.0.3 11.0.0.4");
    EXPECT_EQ(Find("11.0.0.3", true, true), 2);
    EXPECT_EQ(Find("11.0.0.1", true, false), 0);   // wraps past the end
    EXPECT_EQ(Find("11.0.0.4", false, false), 3);  // upwards, wrapping before row 0
    EXPECT_EQ(Find("no such text", true, false), 3);
}

TEST_F(ResultListTest, PlacementColumnsAndSortSurviveARestartAndASplitOutOfRangeIsClamped) {
    Open();
    SetWindowPos(hwnd, nullptr, 33, 44, 500, 400, SWP_NOZORDER);
    ListView_SetColumnWidth(list, 3, 77);
    ListView_SetColumnWidth(list, 4, 0);
    EXPECT_EQ(Arrow(0), 0);  // by the order column, ascending, the arrow on the right
    ClickHeader(5);
    ClickHeader(5);
    EXPECT_EQ(std::make_pair(Arrow(5), Arrow(0)), std::make_pair(1, -1));  // the arrow moved
    // Reversed and shuffled, column 4 hidden: each whole order comes back.
    int shown[18], orders[2][18] = {{17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0},
                                    {7, 12, 0, 15, 3, 9, 17, 1, 10, 5, 14, 2, 16, 8, 11, 4, 13, 6}};
    RECT r, l, p;
    for (int* order : orders) {
        ListView_SetColumnOrderArray(list, 18, order);
        Close();
        WritePrivateProfileStringA("General", "SplitLoc", order == orders[0] ? "1" : "99999", SettingsPath().c_str());
        Open();
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);  // the first show lays the window out: no list or pane without height
        EXPECT_TRUE(GetClientRect(list, &l) && GetClientRect(pane, &p) && l.bottom > 0 && p.bottom > 0);
        ListView_GetColumnOrderArray(list, 18, shown);
        EXPECT_EQ(std::vector<int>(shown, shown + 18), std::vector<int>(order, order + 18));
    }
    EXPECT_NE(ReadFileBytes(SettingsPath()).find("\r\nSort=4101\r\n"), std::string::npos);  // 0x1000 | 5
    GetWindowRect(hwnd, &r);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
              (std::vector<LONG>{33, 44, 500, 400}));
    EXPECT_EQ(std::make_pair(ListView_GetColumnWidth(list, 3), ListView_GetColumnWidth(list, 4)),
              std::make_pair(77, 0));
    EXPECT_EQ(Arrow(5), 1);
}
