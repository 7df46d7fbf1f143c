// The result list on a real list view inside a real main window: sorting by
// header clicks, selection notifications, Find, hidden columns, and the
// layout that survives a restart. Items are added without a lookup run.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "input/address_list.h"
#include "reports/report_driver.h"
#include "resources/resource_ids.h"
#include "app/main_window.h"
#include "framework/messages.h"
#include "base/settings_file.h"
#include "win_test_support.h"

namespace {

class StringSink : public ByteSink {
public:
    bool Write(const char* bytes, size_t n) override {
        text.append(bytes, n);
        return true;
    }
    std::string text;
};

struct ResultListFixture : ::testing::Test {
    CommandLine commandLine;
    MainWindow* window = nullptr;

    void Open() {
        commandLine.Build("/nodlgstart");
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
    void SetUp() override { DeleteFileA(TestSettingsPath().c_str()); }
    void TearDown() override { Close(); }

    // Adds the addresses of text as a reload does: no run starts.
    void Reload(const char* text) {
        window->options->ResolveIPAddr = 0;
        window->options->addressText.SetText(text);
        SendMessageA(window->hwnd, UM_RELOADADDRESSTEXT, 0, 0);
        PumpMessages();
    }
    std::string Cell(int row, int column) {
        char text[256] = {};
        ListView_GetItemText(window->listView, row, column, text, sizeof text);
        return text;
    }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> out;
        for (int row = 0; row < ListView_GetItemCount(window->listView); ++row) out.push_back(Cell(row, column));
        return out;
    }
    void ClickHeader(int column) {
        NMLISTVIEW click = {};
        click.hdr.hwndFrom = window->listView;
        click.hdr.idFrom = IDW_RESULTLIST;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageA(window->hwnd, WM_NOTIFY, IDW_RESULTLIST, reinterpret_cast<LPARAM>(&click));
    }
    int HeaderImage(int column, bool* onRight) {
        HDITEMA item = {};
        item.mask = HDI_FORMAT | HDI_IMAGE;
        SendMessageA(ListView_GetHeader(window->listView), HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
        *onRight = (item.fmt & HDF_BITMAP_ON_RIGHT) != 0;
        return (item.fmt & HDF_IMAGE) ? item.iImage : -1;
    }
    void Find(const char* text, DWORD flags) {
        lstrcpynA(window->addressList->findText, text, 255);
        FINDREPLACEA request = {};
        request.lStructSize = sizeof request;
        request.Flags = flags | FR_FINDNEXT;
        request.lpstrFindWhat = window->addressList->findText;
        SendMessageA(window->hwnd, window->findMessage, 0, reinterpret_cast<LPARAM>(&request));
    }
    int SelectedRow() { return ListView_GetNextItem(window->listView, -1, LVNI_SELECTED); }
};

using V = std::vector<std::string>;

TEST_F(ResultListFixture, HeaderClicksToggleTheOrderAndTheArrow) {
    Open();
    Reload("9.0.0.1 100.0.0.1 11.0.0.1");
    EXPECT_EQ(Column(0), (V{"1", "2", "3"}));
    EXPECT_EQ(Column(2), (V(3, "\xB5\xC8\xB4\xFD\xD6\xD0...")));  // 等待中...
    bool right = false;
    EXPECT_EQ(HeaderImage(0, &right), 0);  // sorted by the order column, ascending
    EXPECT_TRUE(right);

    ClickHeader(1);  // addresses sort as text
    EXPECT_EQ(Column(1), (V{"100.0.0.1", "11.0.0.1", "9.0.0.1"}));
    EXPECT_EQ(HeaderImage(1, &right), 0);
    EXPECT_EQ(HeaderImage(0, &right), -1);
    ClickHeader(1);
    EXPECT_EQ(Column(1), (V{"9.0.0.1", "11.0.0.1", "100.0.0.1"}));
    EXPECT_EQ(HeaderImage(1, &right), 1);
    EXPECT_EQ(window->addressList->persistedSort, 0x1000 | 1);
    ClickHeader(0);  // another column starts ascending
    EXPECT_EQ(Column(0), (V{"1", "2", "3"}));
    EXPECT_EQ(window->addressList->persistedSort, 0);
}

TEST_F(ResultListFixture, SelectingAllPostsOneSelectionChange) {
    Open();
    std::string text;
    for (int i = 1; i <= 200; ++i) text += "11.0." + std::to_string(i / 100) + "." + std::to_string(i % 100) + " ";
    Reload(text.c_str());
    ASSERT_EQ(ListView_GetItemCount(window->listView), 200);
    SetFocus(window->listView);
    SendMessageA(window->hwnd, WM_COMMAND, IDM_SELECT_ALL, 0);
    EXPECT_EQ(ListView_GetSelectedCount(window->listView), 200u);
    int posted = 0;
    MSG msg;
    while (PeekMessageA(&msg, window->hwnd, UM_SELECTIONCHANGED, UM_SELECTIONCHANGED, PM_REMOVE)) {
        ++posted;
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(posted, 1);
    // Handled: the status bar counts both, and properties needs exactly one.
    char status[256] = {};
    SendMessageA(window->statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
    EXPECT_STREQ(status, "\xB9\xB2 200 \xCF\xEE, \xD2\xD1\xD1\xA1\xB6\xA8 200 \xB8\xF6");
    EXPECT_TRUE(GetMenuState(window->mainMenu, IDM_PROPERTIES, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(window->mainMenu, IDM_COPY, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(ResultListFixture, FindNextWrapsAndStopsAfterTheSecondWrap) {
    Open();
    Reload("11.0.0.1 11.0.0.2 11.0.0.3 11.0.0.4");
    Find("11.0.0.3", FR_DOWN | FR_WHOLEWORD);
    EXPECT_EQ(SelectedRow(), 2);
    Find("11.0.0.1", FR_DOWN);  // wraps past the end
    EXPECT_EQ(SelectedRow(), 0);
    Find("11.0.0.4", 0);  // upwards, wrapping before row 0
    EXPECT_EQ(SelectedRow(), 3);
    Find("no such text", FR_DOWN);  // gives up after two wraps
    EXPECT_EQ(SelectedRow(), 3);
    EXPECT_EQ(ListView_GetSelectedCount(window->listView), 1u);
}

TEST_F(ResultListFixture, HiddenColumnsAreLeftOutOfReportsButSearched) {
    Open();
    Reload("11.0.0.1 11.0.0.2");
    ListView_SetColumnWidth(window->listView, 1, 0);  // hide the address column
    StringSink sink;
    ASSERT_TRUE(WriteReport(*window->addressList, sink, 2, false));
    EXPECT_EQ(sink.text.find("11.0.0."), std::string::npos);
    const size_t lineEnd = sink.text.find("\r\n");
    EXPECT_EQ(std::count(sink.text.begin(), sink.text.begin() + lineEnd, '\t'), 17);
    Find("11.0.0.2", FR_DOWN | FR_WHOLEWORD);
    EXPECT_EQ(SelectedRow(), 1);
}

TEST_F(ResultListFixture, ColumnsAndSortSurviveARestart) {
    Open();
    ListView_SetColumnWidth(window->listView, 3, 77);
    ListView_SetColumnWidth(window->listView, 4, 0);
    int order[18];
    Header_GetOrderArray(ListView_GetHeader(window->listView), 18, order);
    std::swap(order[0], order[5]);  // owner name first, order column sixth
    Header_SetOrderArray(ListView_GetHeader(window->listView), 18, order);
    ClickHeader(5);
    ClickHeader(5);
    Close();

    Open();
    EXPECT_EQ(ListView_GetColumnWidth(window->listView, 3), 77);
    EXPECT_EQ(ListView_GetColumnWidth(window->listView, 4), 0);
    int restored[18];
    Header_GetOrderArray(ListView_GetHeader(window->listView), 18, restored);
    EXPECT_EQ(restored[0], 5);
    EXPECT_EQ(restored[5], 0);
    EXPECT_EQ(window->addressList->persistedSort, 0x1000 | 5);
    bool right = false;
    EXPECT_EQ(HeaderImage(5, &right), 1);
}

}  // namespace
