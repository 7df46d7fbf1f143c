// The result list on a real list view inside a real main window: sorting by
// header clicks, selection notifications, Find through the Find dialog,
// hidden columns, and the layout that survives a restart.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
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
    // The sort arrow's image in a header item (-1: none), and its side.
    int Arrow(int column, bool* onRight = nullptr) {
        HDITEMA item = {};
        item.mask = HDI_FORMAT | HDI_IMAGE;
        SendMessageA(ListView_GetHeader(list), HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
        if (onRight) *onRight = (item.fmt & HDF_BITMAP_ON_RIGHT) != 0;
        return (item.fmt & HDF_IMAGE) ? item.iImage : -1;
    }
    // "Find Next" in the Find dialog, opened by the command on first use.
    void Find(const char* text, bool down, bool wholeWord) {
        if (!FindDialog()) Command(IDM_FIND);
        HWND findDialog = FindDialog();
        ASSERT_NE(findDialog, nullptr);
        SetDlgItemTextA(findDialog, edt1, text);
        CheckRadioButton(findDialog, rad1, rad2, down ? rad2 : rad1);
        CheckDlgButton(findDialog, chx1, wholeWord ? BST_CHECKED : BST_UNCHECKED);
        ClickButton(findDialog, IDOK);
    }
};

}  // namespace

TEST_F(ResultListTest, HeaderClicksToggleTheOrderAndTheArrow) {
    Open();
    Reload("9.0.0.1 100.0.0.1 11.0.0.1");
    EXPECT_EQ(Column(0), (V{"1", "2", "3"}));
    EXPECT_EQ(Column(2), (V(3, "\xB5\xC8\xB4\xFD\xD6\xD0...")));  // 等待中...
    bool right = false;
    EXPECT_EQ(Arrow(0, &right), 0);  // sorted by the order column, ascending
    EXPECT_TRUE(right);
    ClickHeader(1);  // addresses sort as text
    EXPECT_EQ(Column(1), (V{"100.0.0.1", "11.0.0.1", "9.0.0.1"}));
    EXPECT_EQ(Arrow(1), 0);
    EXPECT_EQ(Arrow(0), -1);
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
    ASSERT_EQ(Rows(), 200);
    SetFocus(list);
    Command(IDM_SELECT_ALL);
    EXPECT_EQ(ListView_GetSelectedCount(list), 200u);
    int posted = 0;
    MSG msg;
    while (PeekMessageA(&msg, hwnd, UM_SELECTIONCHANGED, UM_SELECTIONCHANGED, PM_REMOVE)) {
        ++posted;
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(posted, 1);
    // Handled: the status bar counts both, and properties needs exactly one.
    EXPECT_EQ(StatusText(status), "\xB9\xB2 200 \xCF\xEE, \xD2\xD1\xD1\xA1\xB6\xA8 200 \xB8\xF6");
    EXPECT_FALSE(MenuEnabled(IDM_PROPERTIES));
    EXPECT_TRUE(MenuEnabled(IDM_COPY));
}

TEST_F(ResultListTest, FindNextWrapsAndStopsAfterTheSecondWrap) {
    Open();
    Reload("11.0.0.1 11.0.0.2 11.0.0.3 11.0.0.4");
    Find("11.0.0.3", true, true);
    EXPECT_EQ(SelectedRow(), 2);
    Find("11.0.0.1", true, false);  // wraps past the end
    EXPECT_EQ(SelectedRow(), 0);
    Find("11.0.0.4", false, false);  // upwards, wrapping before row 0
    EXPECT_EQ(SelectedRow(), 3);
    Find("no such text", true, false);  // gives up after two wraps
    EXPECT_EQ(SelectedRow(), 3);
    EXPECT_EQ(ListView_GetSelectedCount(list), 1u);
}

TEST_F(ResultListTest, HiddenColumnsAreLeftOutOfCopiesButSearched) {
    Open();
    Reload("11.0.0.1 11.0.0.2");
    ListView_SetColumnWidth(list, 1, 0);  // hide the address column
    Find("11.0.0.2", true, true);
    EXPECT_EQ(SelectedRow(), 1);
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
    int restored[18];
    Header_GetOrderArray(ListView_GetHeader(list), 18, restored);
    EXPECT_EQ(restored[0], 5);
    EXPECT_EQ(restored[5], 0);
    EXPECT_EQ(Arrow(5), 1);
}
