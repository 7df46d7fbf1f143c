// The properties dialog on the real dialog template: one label and one
// read-only field per column, in column id order, laid out from the two
// hidden template controls.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/address_helpers.h"
#include "input/address_list.h"
#include "resources/resource_ids.h"
#include "app/main_window.h"
#include "base/settings_file.h"
#include "views/properties_dialog.h"
#include "win_test_support.h"

namespace {

RECT ClientRectOf(HWND dialog, HWND control) {
    RECT r = {};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// What the test reads from an open dialog.
struct Seen {
    std::string title;
    std::vector<std::string> labels;
    std::vector<std::string> fields;
    std::vector<RECT> labelRects;
    std::vector<RECT> fieldRects;
    bool allReadOnly = true;
    bool allVisible = true;
    int widestHeader = 0;
    RECT labelTemplate = {};
    RECT fieldTemplate = {};
    RECT ok = {};
    RECT okTemplate = {};  // where the resource puts the OK button, in pixels
    RECT window = {};
    RECT client = {};
    bool fieldIsDarkBlueOnWhite = false;
    bool labelKeepsItsColours = false;
    std::string copied;
};

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void ReadDialog(HWND dialog, const ReportList& list, Seen* seen) {
    seen->title = WindowText(dialog);
    HDC dc = GetDC(dialog);
    for (const ColumnDef& def : list.Columns()) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, def.header, static_cast<int>(std::strlen(def.header)), &size);
        if (size.cx > seen->widestHeader) seen->widestHeader = size.cx;
    }
    ReleaseDC(dialog, dc);
    for (int column = 0; column < 18; ++column) {
        HWND label = GetDlgItem(dialog, kPropertyLabelIdBase + column);
        HWND field = GetDlgItem(dialog, kPropertyFieldIdBase + column);
        seen->labels.push_back(label ? WindowText(label) : "<missing>");
        seen->fields.push_back(field ? WindowText(field) : "<missing>");
        seen->labelRects.push_back(ClientRectOf(dialog, label));
        seen->fieldRects.push_back(ClientRectOf(dialog, field));
        if (!(GetWindowLongA(field, GWL_STYLE) & ES_READONLY)) seen->allReadOnly = false;
        if (!IsWindowVisible(label) || !IsWindowVisible(field)) seen->allVisible = false;
    }
    seen->labelTemplate = ClientRectOf(dialog, GetDlgItem(dialog, IDC_PROP_LABEL));
    seen->fieldTemplate = ClientRectOf(dialog, GetDlgItem(dialog, IDC_PROP_FIELD));
    seen->ok = ClientRectOf(dialog, GetDlgItem(dialog, IDOK));
    seen->okTemplate = {308, 205, 308 + 50, 205 + 14};
    MapDialogRect(dialog, &seen->okTemplate);
    GetWindowRect(dialog, &seen->window);
    GetClientRect(dialog, &seen->client);

    // The colours a field and a label are drawn with.
    HDC memory = CreateCompatibleDC(nullptr);
    SetTextColor(memory, RGB(1, 2, 3));
    HWND owner = GetDlgItem(dialog, kPropertyFieldIdBase + 5);
    const LRESULT brush =
        SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory), reinterpret_cast<LPARAM>(owner));
    seen->fieldIsDarkBlueOnWhite = brush == reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)) &&
                                   GetTextColor(memory) == RGB(0, 0, 192) && GetBkMode(memory) == TRANSPARENT &&
                                   GetBkColor(memory) == RGB(255, 255, 255);
    SetTextColor(memory, RGB(1, 2, 3));
    const LRESULT labelBrush = SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory),
                                            reinterpret_cast<LPARAM>(GetDlgItem(dialog, kPropertyLabelIdBase + 5)));
    seen->labelKeepsItsColours =
        labelBrush != reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)) && GetTextColor(memory) != RGB(0, 0, 192);
    DeleteDC(memory);

    // Read-only, but the text can be selected and copied.
    SendMessageA(owner, EM_SETSEL, 0, -1);
    SendMessageA(owner, WM_COPY, 0, 0);
    seen->copied = ClipboardText();
}

struct PropertiesTest : ::testing::Test {
    CommandLine commandLine;
    MainWindow* window = nullptr;
    Later later;

    void SetUp() override {
        std::ofstream cfg(TestSettingsPath(), std::ios::binary | std::ios::trunc);
        cfg << "[General]\r\nResolveIPAddr=0\r\n";
        cfg.close();
        commandLine.Build("/nodlgstart");
        window = new MainWindow();
        window->commandLine = &commandLine;
        ASSERT_TRUE(window->Create());
        PumpMessages();
        AddressList& list = *window->addressList;
        for (const char* address : {"198.51.100.7", "203.0.113.9"}) {
            uint32_t ip = 0;
            ParseDottedQuad(address, &ip, 0);
            list.CreateItem(ip, nullptr);
        }
        LookupItem& item = *list.At(0);
        item.status = LookupStatus::Succeeded;
        std::strcpy(item.record.ownerName, "Example Owner \"Ltd\"");
        std::strcpy(item.record.address, "Rua A, 10, Recife");
        std::strcpy(item.record.email, "noc@example.net");
        item.record.whoisSource = 4;
        list.Rebuild(true);
    }
    void TearDown() override {
        if (window && window->hwnd && IsWindow(window->hwnd)) DestroyWindow(window->hwnd);
        PumpMessages();
        delete window;
    }

    // Opens the properties of one row through the command and reads the dialog.
    Seen Open(int row) {
        ListView_SetItemState(window->listView, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(window->listView, row, LVIS_SELECTED, LVIS_SELECTED);
        Seen seen;
        const ReportList& list = *window->addressList;
        DialogWatcher watcher([&](HWND dialog) {
            later.Post([&, dialog] {
                ReadDialog(dialog, list, &seen);
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            });
        });
        SendMessageA(window->hwnd, WM_COMMAND, IDM_PROPERTIES, 0);
        EXPECT_EQ(watcher.Count(), 1);
        EXPECT_EQ(GetFocus(), window->listView);
        return seen;
    }
};

TEST_F(PropertiesTest, EighteenRowsInColumnIdOrderWithMeasuredLabels) {
    // Hidden and reordered columns change nothing here.
    ListView_SetColumnWidth(window->listView, 3, 0);
    int order[18];
    for (int i = 0; i < 18; ++i) order[i] = 17 - i;
    ListView_SetColumnOrderArray(window->listView, 18, order);

    const Seen seen = Open(0);
    if (GetACP() == 936) {
        EXPECT_EQ(seen.title, "IP \xB5\xD8\xD6\xB7\xD0\xC5\xCF\xA2");  // IP 地址信息
    }
    const AddressList& list = *window->addressList;
    char buffer[kTextBufferSize];
    for (int column = 0; column < 18; ++column) {
        EXPECT_EQ(seen.labels[column], std::string(list.Columns()[column].header) + ":") << column;
        EXPECT_EQ(seen.fields[column], list.At(0)->ColumnText(column, buffer)) << column;
    }
    EXPECT_EQ(seen.fields[5], "Example Owner \"Ltd\"");
    EXPECT_EQ(seen.fields[10], "Rua A, 10, Recife");  // as stored, not split into lines
    EXPECT_EQ(seen.fields[15], "LACNIC");
    EXPECT_TRUE(seen.allReadOnly);
    EXPECT_TRUE(seen.allVisible);

    // The label column is as wide as the widest header plus 10 pixels; the
    // fields end where the template field ends.
    const int labelWidth = seen.widestHeader + 10;
    const int fieldHeight = seen.fieldTemplate.bottom - seen.fieldTemplate.top;
    const int labelHeight = seen.labelTemplate.bottom - seen.labelTemplate.top;
    for (int column = 0; column < 18; ++column) {
        const RECT& label = seen.labelRects[column];
        const RECT& field = seen.fieldRects[column];
        EXPECT_EQ(label.left, seen.labelTemplate.left);
        EXPECT_EQ(label.right - label.left, labelWidth) << column;
        EXPECT_EQ(label.bottom - label.top, labelHeight);
        EXPECT_EQ(label.top, seen.labelTemplate.top + column * (fieldHeight + 4)) << column;
        EXPECT_EQ(field.top, seen.fieldTemplate.top + column * (fieldHeight + 4)) << column;
        EXPECT_EQ(field.bottom - field.top, fieldHeight);
        EXPECT_EQ(field.right, seen.fieldTemplate.right) << column;
        EXPECT_EQ(field.left,
                  seen.fieldTemplate.left + labelWidth - (seen.labelTemplate.right - seen.labelTemplate.left));
    }

    // The dialog fits the rows and the OK button, and stands centred.
    const int y = 18 * (fieldHeight + 4);
    const int okHeight = seen.ok.bottom - seen.ok.top;
    EXPECT_EQ(seen.client.bottom, okHeight + y + 21);
    EXPECT_EQ(seen.ok.top, seen.client.bottom - okHeight - 5);
    EXPECT_EQ(seen.ok.left, seen.okTemplate.left);
    EXPECT_EQ(seen.ok.right - seen.ok.left, seen.okTemplate.right - seen.okTemplate.left);
    EXPECT_EQ(okHeight, seen.okTemplate.bottom - seen.okTemplate.top);
    const int windowWidth = seen.window.right - seen.window.left;
    const int windowHeight = seen.window.bottom - seen.window.top;
    EXPECT_EQ(seen.window.left, (GetSystemMetrics(SM_CXSCREEN) - windowWidth) / 2);
    EXPECT_EQ(seen.window.top, (GetSystemMetrics(SM_CYSCREEN) - windowHeight) / 2);

    EXPECT_TRUE(seen.fieldIsDarkBlueOnWhite);
    EXPECT_TRUE(seen.labelKeepsItsColours);
    EXPECT_EQ(seen.copied, "Example Owner \"Ltd\"");
}

TEST_F(PropertiesTest, AWaitingItemShowsItsStatusAndEmptyFields) {
    const Seen seen = Open(1);
    ASSERT_EQ(seen.fields.size(), 18u);
    EXPECT_EQ(seen.fields[0], "2");
    EXPECT_EQ(seen.fields[1], "203.0.113.9");
    if (GetACP() == 936) {
        EXPECT_EQ(seen.fields[2], "\xB5\xC8\xB4\xFD\xD6\xD0...");  // 等待中...
    }
    for (int column : {3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 15}) EXPECT_EQ(seen.fields[column], "") << column;
}

}  // namespace
