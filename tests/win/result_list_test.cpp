// The result list on a real list view inside a real main window: sorting by
// header clicks, selection notifications, Find through the Find dialog,
// hidden columns, and the layout that survives a restart.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "main_window_fixture.h"
#include "resources/resource_ids.h"
#include "shell/messages.h"
#include "win_test_support.h"

namespace {

using V = std::vector<std::string>;

struct ResultListTest : MainWindowTest {
    // Adds the addresses of text as a reload does: no run starts.
    void Reload(const char* text) {
        SetAddressText(*window, text);
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
        if (!FindDialog()) Command(IDM_FIND);
        HWND dialog = FindDialog();
        SetDlgItemTextA(dialog, edt1, text);
        CheckRadioButton(dialog, rad1, rad2, down ? rad2 : rad1);
        CheckDlgButton(dialog, chx1, wholeWord ? BST_CHECKED : BST_UNCHECKED);
        ClickButton(dialog, IDOK);
        EXPECT_EQ(ListView_GetSelectedCount(list), 1u);
        return SelectedRow();
    }
};

}  // namespace

TEST_F(ResultListTest, HeaderClicksToggleTheOrderAndTheArrow) {
    Open();
    Reload("9.0.0.1 100.0.0.1 11.0.0.1");
    EXPECT_EQ(Column(0), (V{"1", "2", "3"}));
    EXPECT_EQ(Column(2), V(3, "\xB5\xC8\xB4\xFD\xD6\xD0..."));  // 等待中...
    EXPECT_EQ(Arrow(0), 0);  // by the order column, ascending, the arrow on the right
    ClickHeader(1);          // addresses sort as text
    EXPECT_EQ(Column(1), (V{"100.0.0.1", "11.0.0.1", "9.0.0.1"}));
    EXPECT_EQ(std::make_pair(Arrow(1), Arrow(0)), std::make_pair(0, -1));  // the arrow moved
    ClickHeader(1);
    EXPECT_EQ(Column(1), (V{"9.0.0.1", "11.0.0.1", "100.0.0.1"}));
    EXPECT_EQ(Arrow(1), 1);
    ClickHeader(0);  // another column starts ascending
    EXPECT_EQ(Column(0), (V{"1", "2", "3"}));
    EXPECT_EQ(Arrow(0), 0);
}

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

TEST_F(ResultListTest, FindWrapsGivesUpAfterTheSecondWrapAndSearchesHiddenColumns) {
    Open();
    Reload("11.0.0.1 11.0.0.2 11.0.0.3 11.0.0.4");
    EXPECT_EQ(Find("11.0.0.3", true, true), 2);
    EXPECT_EQ(Find("11.0.0.1", true, false), 0);  // wraps past the end
    EXPECT_EQ(Find("11.0.0.4", false, false), 3);  // upwards, wrapping before row 0
    EXPECT_EQ(Find("no such text", true, false), 3);
    // A hidden column is searched, but left out of what is copied.
    ListView_SetColumnWidth(list, 1, 0);
    EXPECT_EQ(Find("11.0.0.2", true, true), 1);
    SetFocus(list);
    Command(IDM_COPY);
    const std::string copied = ClipboardText();
    EXPECT_EQ(copied.find("11.0.0."), std::string::npos) << copied;
    EXPECT_EQ(std::count(copied.begin(), copied.end(), '\t'), 17) << copied;
}

TEST_F(ResultListTest, ColumnsAndSortSurviveARestart) {
    Open();
    ListView_SetColumnWidth(list, 3, 77);
    ListView_SetColumnWidth(list, 4, 0);
    int order[18];
    Header_GetOrderArray(ListView_GetHeader(list), 18, order);
    std::swap(order[0], order[5]);  // owner name first, order column sixth
    Header_SetOrderArray(ListView_GetHeader(list), 18, order);
    ClickHeader(5);
    ClickHeader(5);
    Close();
    EXPECT_NE(ReadFileBytes(SettingsPath()).find("\r\nSort=4101\r\n"), std::string::npos);  // 0x1000 | 5
    Open();
    EXPECT_EQ(ListView_GetColumnWidth(list, 3), 77);
    EXPECT_EQ(ListView_GetColumnWidth(list, 4), 0);
    Header_GetOrderArray(ListView_GetHeader(list), 18, order);
    EXPECT_EQ(std::make_pair(order[0], order[5]), std::make_pair(5, 0));
    EXPECT_EQ(Arrow(5), 1);
}
