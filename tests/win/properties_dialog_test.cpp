// The properties dialog on the real dialog template: one label and one
// read-only field per column, in column id order, laid out from the two
// hidden template controls.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "input/address_list.h"
#include "main_window_fixture.h"
#include "resources/resource_ids.h"
#include "views/properties_dialog.h"
#include "win_test_support.h"

namespace {

struct PropertiesTest : MainWindowTest {
    void SetUp() override {
        MainWindowTest::SetUp();
        WriteSettings("ResolveIPAddr=0\r\n");
        Open();
        AddRows({"198.51.100.7", "203.0.113.9"});
        LookupItem& item = *Addresses(*window).At(0);
        item.status = LookupStatus::Succeeded;
        std::strcpy(item.record.ownerName, "Example Owner \"Ltd\"");
        std::strcpy(item.record.address, "Rua A, 10, Recife");
        item.record.whoisSource = 4;
        Addresses(*window).Rebuild(true);
    }
    // Opens the properties of one row through the command; act reads the dialog.
    void Open(int row, std::function<void(HWND)> act) {
        Select({row});
        DialogDriver driver([&](HWND d) {
            act(d);
            ClickButton(d, IDOK);
        });
        Command(IDM_PROPERTIES);
        EXPECT_EQ(driver.Count(), 1);
        EXPECT_EQ(GetFocus(), list);
    }
    using MainWindowTest::Open;
    std::string Header(int column) {
        char text[256] = {};
        HDITEMA item = {};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(ListView_GetHeader(list), HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
        return text;
    }
};

HWND Label(HWND d, int column) { return GetDlgItem(d, kPropertyLabelIdBase + column); }
HWND Field(HWND d, int column) { return GetDlgItem(d, kPropertyFieldIdBase + column); }

}  // namespace

TEST_F(PropertiesTest, EighteenRowsInColumnIdOrderWithMeasuredLabels) {
    // Hidden and reordered columns change nothing here.
    ListView_SetColumnWidth(list, 3, 0);
    int order[18];
    for (int i = 0; i < 18; ++i) order[i] = 17 - i;
    ListView_SetColumnOrderArray(list, 18, order);
    Open(0, [&](HWND d) {
        HDC dc = GetDC(d);
        int widest = 0;
        for (int column = 0; column < 18; ++column) {
            SIZE size = {};
            const std::string header = Header(column);
            GetTextExtentPoint32A(dc, header.c_str(), static_cast<int>(header.size()), &size);
            widest = std::max<int>(widest, size.cx);
        }
        ReleaseDC(d, dc);
        const RECT labelTemplate = RectIn(GetDlgItem(d, IDC_PROP_LABEL), d);
        const RECT fieldTemplate = RectIn(GetDlgItem(d, IDC_PROP_FIELD), d);
        const int step = fieldTemplate.bottom - fieldTemplate.top + 4;
        for (int column = 0; column < 18; ++column) {
            ASSERT_TRUE(Label(d, column) && Field(d, column)) << column;
            EXPECT_EQ(WindowText(Label(d, column)), Header(column) + ":") << column;
            EXPECT_EQ(WindowText(Field(d, column)), Cell(0, column)) << column;
            EXPECT_TRUE(GetWindowLongA(Field(d, column), GWL_STYLE) & ES_READONLY);
            EXPECT_TRUE(IsWindowVisible(Field(d, column)));
            const RECT label = RectIn(Label(d, column), d), field = RectIn(Field(d, column), d);
            EXPECT_EQ(label.left, labelTemplate.left);
            EXPECT_EQ(label.right - label.left, widest + 10) << column;
            EXPECT_EQ(label.top, labelTemplate.top + column * step) << column;
            EXPECT_EQ(field.top, fieldTemplate.top + column * step) << column;
            EXPECT_EQ(field.right, fieldTemplate.right) << column;
        }
        EXPECT_EQ(WindowText(Field(d, 5)), "Example Owner \"Ltd\"");
        EXPECT_EQ(WindowText(Field(d, 10)), "Rua A, 10, Recife");  // as stored, not split into lines
        EXPECT_EQ(WindowText(Field(d, 15)), "LACNIC");
        // The OK button stands below the last row.
        RECT client;
        GetClientRect(d, &client);
        const RECT ok = RectIn(GetDlgItem(d, IDOK), d);
        EXPECT_EQ(ok.top, client.bottom - (ok.bottom - ok.top) - 5);
        EXPECT_GT(ok.top, RectIn(Field(d, 17), d).bottom);
        // Fields are dark blue on white, labels keep their colours.
        HDC memory = CreateCompatibleDC(nullptr);
        SetTextColor(memory, RGB(1, 2, 3));
        EXPECT_EQ(SendMessageA(d, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory),
                               reinterpret_cast<LPARAM>(Field(d, 5))),
                  reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)));
        EXPECT_EQ(GetTextColor(memory), RGB(0, 0, 192));
        SetTextColor(memory, RGB(1, 2, 3));
        SendMessageA(d, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory), reinterpret_cast<LPARAM>(Label(d, 5)));
        EXPECT_NE(GetTextColor(memory), RGB(0, 0, 192));
        DeleteDC(memory);
        // Read-only, but the text can be selected and copied.
        SendMessageA(Field(d, 5), EM_SETSEL, 0, -1);
        SendMessageA(Field(d, 5), WM_COPY, 0, 0);
        EXPECT_EQ(ClipboardText(), "Example Owner \"Ltd\"");
    });
    Open(1, [&](HWND d) {
        EXPECT_EQ(WindowText(Field(d, 1)), "203.0.113.9");
        EXPECT_EQ(WindowText(Field(d, 2)), "\xB5\xC8\xB4\xFD\xD6\xD0...");  // 等待中...
        EXPECT_EQ(WindowText(Field(d, 5)), "");
    });
}
