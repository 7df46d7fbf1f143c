// The properties dialog on the real dialog template: one label and one
// read-only field per column, in column id order, laid out from the two
// hidden template controls.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "input/address_list.h"
#include "main_window_fixture.h"
#include "resources/resource_ids.h"
#include "views/properties_dialog.h"
#include "win_test_support.h"

TEST_F(MainWindowTest, PropertiesShowEveryColumnOfTheRowInIdOrderWithMeasuredLabels) {
    WriteSettings("ResolveIPAddr=0\r\n");
    Open();
    AddRows({"198.51.100.7", "203.0.113.9"});
    LookupItem& item = *Addresses(*window).At(0);
    item.status = LookupStatus::Succeeded;
    std::strcpy(item.record.ownerName, "Example Owner \"Ltd\"");
    std::strcpy(item.record.address, "Rua A, 10, Recife");
    Addresses(*window).Rebuild(true);
    ListView_SetColumnWidth(list, 3, 0);  // hidden and reordered columns change nothing here
    int order[18];
    for (int i = 0; i < 18; ++i) order[i] = 17 - i;
    ListView_SetColumnOrderArray(list, 18, order);
    std::string headers[18];
    for (int column = 0; column < 18; ++column) {
        char text[256] = {};
        HDITEMA header = {};
        header.mask = HDI_TEXT;
        header.pszText = text;
        header.cchTextMax = sizeof text;
        SendMessageA(ListView_GetHeader(list), HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&header));
        headers[column] = text;
    }
    for (int row : {0, 1}) {
        Select({row});
        DialogDriver driver([&](HWND d) {
            HDC dc = GetDC(d);
            int widest = 0;
            for (const std::string& header : headers) {
                SIZE size = {};
                GetTextExtentPoint32A(dc, header.c_str(), static_cast<int>(header.size()), &size);
                widest = std::max<int>(widest, size.cx);
            }
            ReleaseDC(d, dc);
            const RECT labels = RectIn(GetDlgItem(d, IDC_PROP_LABEL), d), fields = RectIn(GetDlgItem(d, IDC_PROP_FIELD), d);
            const int step = fields.bottom - fields.top + 4;
            for (int column = 0; column < 18; ++column) {
                HWND label = GetDlgItem(d, kPropertyLabelIdBase + column), field = GetDlgItem(d, kPropertyFieldIdBase + column);
                ASSERT_TRUE(label && field) << column;
                EXPECT_EQ(WindowText(label), headers[column] + ":") << column;
                EXPECT_EQ(WindowText(field), Cell(row, column)) << column;
                EXPECT_TRUE((GetWindowLongA(field, GWL_STYLE) & ES_READONLY) && IsWindowVisible(field));
                const RECT l = RectIn(label, d), f = RectIn(field, d);
                EXPECT_EQ(l.right - l.left, widest + 10) << column;
                EXPECT_EQ(l.left, labels.left);
                EXPECT_EQ(l.top, labels.top + column * step) << column;
                EXPECT_EQ(f.top, fields.top + column * step) << column;
                EXPECT_EQ(f.right, fields.right) << column;
            }
            EXPECT_GT(RectIn(GetDlgItem(d, IDOK), d).top, RectIn(GetDlgItem(d, kPropertyFieldIdBase + 17), d).bottom);
            // Read-only, but the text can be selected and copied.
            SendDlgItemMessageA(d, kPropertyFieldIdBase + 5, EM_SETSEL, 0, -1);
            SendDlgItemMessageA(d, kPropertyFieldIdBase + 5, WM_COPY, 0, 0);
            EXPECT_TRUE(row == 1 || ClipboardText() == "Example Owner \"Ltd\"");
            ClickButton(d, IDOK);
        });
        Command(IDM_PROPERTIES);
        EXPECT_EQ(driver.Count(), 1);
        EXPECT_EQ(GetFocus(), list);
    }
    EXPECT_EQ(Cell(0, 5), "Example Owner \"Ltd\"");
    EXPECT_EQ(Cell(0, 10), "Rua A, 10, Recife");  // as stored, not split into lines
}
