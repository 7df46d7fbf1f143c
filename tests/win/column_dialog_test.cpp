// The column settings dialog on a real main window: rows, buttons, the width
// field and what OK and Cancel leave in the result list. (What the rows
// become is the core's ColumnSettings; here its controls.)
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
    void SetUp() override {
        MainWindowTest::SetUp();
        Open();
    }
    // Opens the dialog with the menu command; act drives it and ends it.
    void Run(std::function<void(HWND)> act) {
        DialogDriver driver(act);
        Command(IDM_CHOOSE_COLUMNS);
        EXPECT_EQ(driver.Count(), 1);
        EXPECT_EQ(GetFocus(), list);
    }
    int Width(int column) { return ListView_GetColumnWidth(list, column); }
    std::vector<int> Order() {
        std::vector<int> order(18);
        ListView_GetColumnOrderArray(list, 18, order.data());
        return order;
    }
};

HWND Entries(HWND d) { return GetDlgItem(d, IDC_COLUMNS_LIST); }
void Pick(HWND d, int row) {
    ListView_SetItemState(Entries(d), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(Entries(d), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}
bool Checked(HWND d, int row) { return ListView_GetCheckState(Entries(d), row) != FALSE; }
bool Enabled(HWND d, int id) { return IsWindowEnabled(GetDlgItem(d, id)) != FALSE; }
int RowColumn(HWND d, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    ListView_GetItem(Entries(d), &item);
    return static_cast<int>(item.lParam);
}
std::string RowText(HWND d, int row) {
    char text[256] = {};
    ListView_GetItemText(Entries(d), row, 0, text, sizeof text);
    return text;
}

}  // namespace

TEST_F(ColumnDialogTest, ButtonsAndTheWidthFieldFollowTheSelectionAndCancelKeepsTheList) {
    const int width17 = Width(17);
    Run([&](HWND d) {
        ASSERT_EQ(ListView_GetItemCount(Entries(d)), 18);
        EXPECT_EQ(RowText(d, 10), "\xB5\xD8\xD6\xB7");  // 地址, the list's header text
        EXPECT_TRUE(ListView_GetItemState(Entries(d), 0, LVIS_SELECTED));
        EXPECT_EQ(GetFocus(), Entries(d));
        EXPECT_FALSE(Enabled(d, IDC_COLUMNS_UP));
        EXPECT_TRUE(Enabled(d, IDC_COLUMNS_DOWN));
        EXPECT_FALSE(Enabled(d, IDC_COLUMNS_SHOW));
        EXPECT_TRUE(Enabled(d, IDC_COLUMNS_HIDE));
        EXPECT_EQ(ItemText(d, IDC_COLUMNS_WIDTH), std::to_string(Width(0)));
        EXPECT_EQ(SendDlgItemMessageA(d, IDC_COLUMNS_WIDTH, EM_GETLIMITTEXT, 0, 0), 3);
        Pick(d, 17);
        EXPECT_TRUE(Enabled(d, IDC_COLUMNS_UP));
        EXPECT_FALSE(Enabled(d, IDC_COLUMNS_DOWN));
        EXPECT_EQ(ItemText(d, IDC_COLUMNS_WIDTH), std::to_string(width17));
        ClickButton(d, IDC_COLUMNS_HIDE);
        EXPECT_FALSE(Checked(d, 17));
        EXPECT_TRUE(Enabled(d, IDC_COLUMNS_SHOW));
        EXPECT_FALSE(Enabled(d, IDC_COLUMNS_HIDE));
        ClickButton(d, IDC_COLUMNS_SHOW);
        EXPECT_TRUE(Checked(d, 17));
        // A double click toggles the check box.
        NMITEMACTIVATE click = {};
        click.hdr.hwndFrom = Entries(d);
        click.hdr.idFrom = IDC_COLUMNS_LIST;
        click.hdr.code = NM_DBLCLK;
        click.iItem = 4;
        SendMessageA(d, WM_NOTIFY, IDC_COLUMNS_LIST, reinterpret_cast<LPARAM>(&click));
        EXPECT_FALSE(Checked(d, 4));
        ClickButton(d, IDCANCEL);
    });
    EXPECT_GT(Width(4), 0);
}

TEST_F(ColumnDialogTest, HideMoveAndWidthReachTheListOnOk) {
    Run([&](HWND d) {
        ClickButton(d, IDC_COLUMNS_HIDE);  // the first row, as any other
        Pick(d, 2);
        ClickButton(d, IDC_COLUMNS_UP);
        EXPECT_EQ(RowColumn(d, 1), 2);
        EXPECT_TRUE(ListView_GetItemState(Entries(d), 1, LVIS_SELECTED));
        Pick(d, 5);
        ClickButton(d, IDC_COLUMNS_DOWN);
        ClickButton(d, IDC_COLUMNS_DOWN);
        EXPECT_EQ(RowText(d, 7), "\xCB\xF9\xD3\xD0\xD5\xDF\xC3\xFB\xB3\xC6");  // 所有者名称 moved with its row
        Pick(d, 3);
        SetDlgItemTextA(d, IDC_COLUMNS_WIDTH, "1");
        ClickButton(d, IDOK);
    });
    EXPECT_EQ(Width(0), 0);
    EXPECT_EQ(Width(3), 1);
    EXPECT_EQ(Order(), (std::vector<int>{0, 2, 1, 3, 4, 6, 7, 5, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}));
}
