// The column settings dialog on a real main window: rows, buttons, the
// width field and what OK and Cancel leave in the result list.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "resources/resource_ids.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "win_test_support.h"

namespace {

const int kDefaults[18] = {50, 100, 80, 100, 80, 150, 100, 100, 80, 140, 250, 130, 130, 150, 150, 120, 120, 150};

struct ColumnDialogTest : ::testing::Test {
    CommandLine commandLine;
    MainWindow* window = nullptr;

    void SetUp() override {
        commandLine.Build("/nodlgstart");
        window = new MainWindow();
        window->commandLine = &commandLine;
        window->writeSettingsAtExit = false;
        ASSERT_TRUE(window->Create());
        PumpMessages();
        // Whatever the settings file said: the default layout.
        for (int c = 0; c < 18; ++c) ListView_SetColumnWidth(window->listView, c, kDefaults[c]);
        int order[18];
        for (int c = 0; c < 18; ++c) order[c] = c;
        ListView_SetColumnOrderArray(window->listView, 18, order);
    }
    void TearDown() override {
        if (window && window->hwnd && IsWindow(window->hwnd)) DestroyWindow(window->hwnd);
        PumpMessages();
        delete window;
    }

    // Opens the dialog with the menu command; act drives it and ends it.
    void Run(std::function<void(HWND)> act) {
        DialogDriver driver(act);
        SendMessageA(window->hwnd, WM_COMMAND, IDM_CHOOSE_COLUMNS, 0);
        EXPECT_EQ(driver.Count(), 1);
        EXPECT_EQ(GetFocus(), window->listView);
    }
    int Width(int column) { return ListView_GetColumnWidth(window->listView, column); }
    std::vector<int> Order() {
        std::vector<int> order(18);
        ListView_GetColumnOrderArray(window->listView, 18, order.data());
        return order;
    }
};

HWND Rows(HWND d) {
    return GetDlgItem(d, IDC_COLUMNS_LIST);
}
void Select(HWND d, int row) {
    ListView_SetItemState(Rows(d), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(Rows(d), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}
bool Checked(HWND d, int row) {
    return ListView_GetCheckState(Rows(d), row) != FALSE;
}
bool Enabled(HWND d, int id) {
    return IsWindowEnabled(GetDlgItem(d, id)) != FALSE;
}
int RowColumn(HWND d, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    ListView_GetItem(Rows(d), &item);
    return static_cast<int>(item.lParam);
}
std::string RowText(HWND d, int row) {
    char text[256] = {};
    ListView_GetItemText(Rows(d), row, 0, text, sizeof text);
    return text;
}
std::string WidthField(HWND d) {
    return WindowText(GetDlgItem(d, IDC_COLUMNS_WIDTH));
}

}  // namespace

TEST_F(ColumnDialogTest, RowsButtonsAndTheWidthFieldFollowTheSelection) {
    Run([&](HWND d) {
        ASSERT_EQ(ListView_GetItemCount(Rows(d)), 18);
        for (int row = 0; row < 18; ++row) {
            EXPECT_EQ(RowColumn(d, row), row);
            EXPECT_TRUE(Checked(d, row));
        }
        EXPECT_EQ(RowText(d, 10), "\xB5\xD8\xD6\xB7");  // 地址, the list's header text
        EXPECT_TRUE(ListView_GetItemState(Rows(d), 0, LVIS_SELECTED));
        EXPECT_EQ(GetFocus(), Rows(d));
        EXPECT_FALSE(Enabled(d, IDC_COLUMNS_UP));
        EXPECT_TRUE(Enabled(d, IDC_COLUMNS_DOWN));
        EXPECT_FALSE(Enabled(d, IDC_COLUMNS_SHOW));
        EXPECT_TRUE(Enabled(d, IDC_COLUMNS_HIDE));
        EXPECT_EQ(WidthField(d), "50");
        EXPECT_EQ(SendDlgItemMessageA(d, IDC_COLUMNS_WIDTH, EM_GETLIMITTEXT, 0, 0), 3);
        Select(d, 17);
        EXPECT_TRUE(Enabled(d, IDC_COLUMNS_UP));
        EXPECT_FALSE(Enabled(d, IDC_COLUMNS_DOWN));
        EXPECT_EQ(WidthField(d), "150");
        ClickButton(d, IDC_COLUMNS_HIDE);
        EXPECT_FALSE(Checked(d, 17));
        EXPECT_TRUE(Enabled(d, IDC_COLUMNS_SHOW));
        EXPECT_FALSE(Enabled(d, IDC_COLUMNS_HIDE));
        ClickButton(d, IDC_COLUMNS_SHOW);
        EXPECT_TRUE(Checked(d, 17));
        // A double click toggles the check box.
        NMITEMACTIVATE click = {};
        click.hdr.hwndFrom = Rows(d);
        click.hdr.idFrom = IDC_COLUMNS_LIST;
        click.hdr.code = NM_DBLCLK;
        click.iItem = 4;
        SendMessageA(d, WM_NOTIFY, IDC_COLUMNS_LIST, reinterpret_cast<LPARAM>(&click));
        EXPECT_FALSE(Checked(d, 4));
        ClickButton(d, IDCANCEL);
    });
    // Cancel: nothing changed.
    EXPECT_EQ(Width(4), 80);
}

TEST_F(ColumnDialogTest, HideShowAndMoveReachTheListOnOk) {
    Run([&](HWND d) {
        ClickButton(d, IDC_COLUMNS_HIDE);  // the first row, as any other
        Select(d, 2);
        ClickButton(d, IDC_COLUMNS_UP);
        EXPECT_EQ(RowColumn(d, 1), 2);
        EXPECT_EQ(RowColumn(d, 2), 1);
        EXPECT_TRUE(ListView_GetItemState(Rows(d), 1, LVIS_SELECTED));
        EXPECT_FALSE(ListView_GetItemState(Rows(d), 2, LVIS_SELECTED));
        EXPECT_EQ(WidthField(d), "80");
        Select(d, 5);
        ClickButton(d, IDC_COLUMNS_DOWN);
        ClickButton(d, IDC_COLUMNS_DOWN);
        EXPECT_EQ(RowColumn(d, 7), 5);
        EXPECT_EQ(RowText(d, 7), "\xCB\xF9\xD3\xD0\xD5\xDF\xC3\xFB\xB3\xC6");  // 所有者名称 moved with its row
        ClickButton(d, IDOK);
    });
    EXPECT_EQ(Width(0), 0);
    const std::vector<int> expected = {0, 2, 1, 3, 4, 6, 7, 5, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
    EXPECT_EQ(Order(), expected);

    // A hidden column comes back with its default width.
    Run([&](HWND d) {
        EXPECT_FALSE(Checked(d, 0));
        EXPECT_EQ(WidthField(d), "50");
        ClickButton(d, IDC_COLUMNS_SHOW);
        ClickButton(d, IDOK);
    });
    EXPECT_EQ(Width(0), 50);
}

TEST_F(ColumnDialogTest, WidthFieldTakesOneTo999ForTheSelectedRow) {
    Run([&](HWND d) {
        Select(d, 10);
        EXPECT_EQ(WidthField(d), "250");
        SetDlgItemTextA(d, IDC_COLUMNS_WIDTH, "0");
        Select(d, 3);
        SetDlgItemTextA(d, IDC_COLUMNS_WIDTH, "1");
        Select(d, 10);
        EXPECT_EQ(WidthField(d), "250");
        ClickButton(d, IDOK);
    });
    EXPECT_EQ(Width(10), 250);
    EXPECT_EQ(Width(3), 1);
}

TEST_F(ColumnDialogTest, DefaultRestoresEverythingAndWideColumnsKeepTheirWidth) {
    ListView_SetColumnWidth(window->listView, 4, 0);
    ListView_SetColumnWidth(window->listView, 6, 333);
    ListView_SetColumnWidth(window->listView, 9, 2500);
    int reversed[18];
    for (int c = 0; c < 18; ++c) reversed[c] = 17 - c;
    ListView_SetColumnOrderArray(window->listView, 18, reversed);
    Run([&](HWND d) {
        EXPECT_EQ(RowColumn(d, 0), 17);
        ClickButton(d, IDC_COLUMNS_DEFAULT);
        for (int row = 0; row < 18; ++row) {
            EXPECT_EQ(RowColumn(d, row), row);
            EXPECT_TRUE(Checked(d, row));
        }
        EXPECT_TRUE(ListView_GetItemState(Rows(d), 0, LVIS_SELECTED));
        ClickButton(d, IDOK);
    });
    for (int c = 0; c < 18; ++c) EXPECT_EQ(Width(c), kDefaults[c]) << c;
    std::vector<int> idOrder(18);
    for (int c = 0; c < 18; ++c) idOrder[static_cast<size_t>(c)] = c;
    EXPECT_EQ(Order(), idOrder);

    ListView_SetColumnWidth(window->listView, 9, 2500);
    Run([&](HWND d) { ClickButton(d, IDOK); });
    EXPECT_EQ(Width(9), 2500);
}

TEST_F(ColumnDialogTest, EveryColumnHidden) {
    Run([&](HWND d) {
        for (int row = 0; row < 18; ++row) ListView_SetCheckState(Rows(d), row, FALSE);
        ClickButton(d, IDOK);
    });
    for (int c = 0; c < 18; ++c) EXPECT_EQ(Width(c), 0) << c;
}
