// The column settings dialog on a real main window: its buttons and width
// field follow the selection, and OK (not Cancel) reaches the result list.
// (What the rows become is the core's ColumnSettings.)
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "resources/resource_ids.h"
#include "win_test_support.h"

namespace {

struct ColumnDialogTest : MainWindowTest {
    // Opens the dialog with the menu command; act drives it and ends it.
    void Run(std::function<void(HWND)> act) {
        DialogDriver driver(act);
        Command(IDM_CHOOSE_COLUMNS);
        EXPECT_EQ(driver.Count(), 1);
        EXPECT_EQ(GetFocus(), list);
    }
};

HWND Entries(HWND d) { return GetDlgItem(d, IDC_COLUMNS_LIST); }
void Pick(HWND d, int row) {
    ListView_SetItemState(Entries(d), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(Entries(d), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}
std::string Buttons(HWND d) {  // which of up, down, show and hide are enabled
    std::string enabled;
    for (int id : {IDC_COLUMNS_UP, IDC_COLUMNS_DOWN, IDC_COLUMNS_SHOW, IDC_COLUMNS_HIDE}) {
        enabled += IsWindowEnabled(GetDlgItem(d, id)) ? '1' : '0';
    }
    return enabled;
}
std::string EntryText(HWND d, int row) {
    char text[256] = {};
    ListView_GetItemText(Entries(d), row, 0, text, sizeof text);
    return text;
}

}  // namespace

TEST_F(ColumnDialogTest, ButtonsAndTheWidthFieldFollowTheSelectionAndCancelKeepsTheList) {
    Open();
    const int width4 = ListView_GetColumnWidth(list, 4);
    Run([&](HWND d) {
        ASSERT_EQ(ListView_GetItemCount(Entries(d)), 18);
        EXPECT_EQ(EntryText(d, 10), "\xB5\xD8\xD6\xB7");  // 地址, the list's header text
        EXPECT_EQ(GetFocus(), Entries(d));
        EXPECT_EQ(Buttons(d), "0101");  // the first row is selected
        EXPECT_EQ(ItemText(d, IDC_COLUMNS_WIDTH), std::to_string(ListView_GetColumnWidth(list, 0)));
        EXPECT_EQ(SendDlgItemMessageA(d, IDC_COLUMNS_WIDTH, EM_GETLIMITTEXT, 0, 0), 3);
        Pick(d, 17);
        EXPECT_EQ(Buttons(d), "1001");
        EXPECT_EQ(ItemText(d, IDC_COLUMNS_WIDTH), std::to_string(ListView_GetColumnWidth(list, 17)));
        ClickButton(d, IDC_COLUMNS_HIDE);
        EXPECT_FALSE(ListView_GetCheckState(Entries(d), 17));
        EXPECT_EQ(Buttons(d), "1010");
        ClickButton(d, IDC_COLUMNS_SHOW);
        EXPECT_TRUE(ListView_GetCheckState(Entries(d), 17));
        NMITEMACTIVATE click = {};  // a double click toggles the check box
        click.hdr = {Entries(d), IDC_COLUMNS_LIST, static_cast<UINT>(NM_DBLCLK)};
        click.iItem = 4;
        SendMessageA(d, WM_NOTIFY, IDC_COLUMNS_LIST, reinterpret_cast<LPARAM>(&click));
        EXPECT_FALSE(ListView_GetCheckState(Entries(d), 4));
        ClickButton(d, IDCANCEL);
    });
    EXPECT_EQ(ListView_GetColumnWidth(list, 4), width4);
}

TEST_F(ColumnDialogTest, HideMoveAndWidthReachTheListOnOk) {
    Open();
    Run([&](HWND d) {
        ClickButton(d, IDC_COLUMNS_HIDE);  // the first row, as any other
        Pick(d, 2);
        ClickButton(d, IDC_COLUMNS_UP);
        EXPECT_TRUE(ListView_GetItemState(Entries(d), 1, LVIS_SELECTED));  // the selection moves along
        Pick(d, 5);
        ClickButton(d, IDC_COLUMNS_DOWN);
        ClickButton(d, IDC_COLUMNS_DOWN);
        EXPECT_EQ(EntryText(d, 7), "\xCB\xF9\xD3\xD0\xD5\xDF\xC3\xFB\xB3\xC6");  // 所有者名称 moved with its row
        Pick(d, 3);
        SetDlgItemTextA(d, IDC_COLUMNS_WIDTH, "1");
        ClickButton(d, IDOK);
    });
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), 0);
    EXPECT_EQ(ListView_GetColumnWidth(list, 3), 1);
    std::vector<int> order(18);
    ListView_GetColumnOrderArray(list, 18, order.data());
    EXPECT_EQ(order, (std::vector<int>{0, 2, 1, 3, 4, 6, 7, 5, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}));
}
