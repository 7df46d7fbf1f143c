// The program's dialogs with their real templates, driven as a user would.

#include <cstring>

#include "framework/dialog_base.h"
#include "input/address_dialog.h"
#include "lang/language.h"
#include "lang/language_state.h"
#include "resources/resource_ids.h"
#include "views/properties_dialog.h"
#include "win_test_support.h"

// The address dialog: the values in, every control back on OK (the reuse box
// keeps the user's own number), the pause fields by the pause box, clear and paste.
TEST(AddressDialog, OpensWithTheValuesAndOkCopiesEveryControlBack) {
    AddressDialog dialog;
    dialog.addressText.SetText("198.51.100.1\r\n203.0.113.9");
    dialog.HostNameToIP = dialog.Pause = dialog.ResolveIPAddr = dialog.UseRdap = 1;
    dialog.PauseTime = 30;
    dialog.PauseCount = 10;
    for (const int uncheck : {0, 1}) {  // ends with reuse off
        dialog.ReuseMaxAddresses = 1000;
        DialogDriver reuse([&](HWND d) { CheckDlgButton(d, IDC_ADDR_REUSE, !uncheck), ClickButton(d, IDOK); });
        EXPECT_EQ(dialog.DoModal(nullptr) ? dialog.ReuseMaxAddresses : -1, uncheck ? 0 : 1000);
    }
    dialog.MaxConversations = 9;  // only 1 to 5 are offered
    std::string pasted;           // longer than an edit takes by default
    while (pasted.size() < 100000) pasted += "198.51.100." + std::to_string(pasted.size() % 250) + "\r\n";
    DialogDriver driver([&](HWND d) {
        const auto checked = [d](int id) { return IsDlgButtonChecked(d, id) == BST_CHECKED; };
        EXPECT_EQ(ItemText(d, IDC_ADDR_TEXT), "198.51.100.1\r\n203.0.113.9");
        EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_ADDR_TEXT));
        EXPECT_TRUE(checked(IDC_ADDR_HOST_TO_IP) && checked(IDC_ADDR_PAUSE) && checked(IDC_ADDR_RESOLVE) &&
                    checked(IDC_ADDR_RDAP));
        EXPECT_FALSE(checked(IDC_ADDR_LAST_ONLY) || checked(IDC_ADDR_FIND_SERVER) || checked(IDC_ADDR_REUSE));
        EXPECT_EQ(ItemText(d, IDC_ADDR_CONVERSATIONS) + " of " +
                      std::to_string(SendDlgItemMessageA(d, IDC_ADDR_CONVERSATIONS, CB_GETCOUNT, 0, 0)),
                  "5 of 5");
        SendDlgItemMessageA(d, IDC_ADDR_CONVERSATIONS, CB_SETCURSEL, 2, 0);  // "3"
        EXPECT_EQ(ItemText(d, IDC_ADDR_PAUSE_TIME) + " " + ItemText(d, IDC_ADDR_PAUSE_COUNT), "30 10");
        for (int id : {IDC_ADDR_HOST_TO_IP, IDC_ADDR_LAST_ONLY, IDC_ADDR_RESOLVE, IDC_ADDR_FIND_SERVER, IDC_ADDR_RDAP,
                       IDC_ADDR_REUSE, IDC_ADDR_PAUSE}) {
            CheckDlgButton(d, id, checked(id) ? BST_UNCHECKED : BST_CHECKED);
            ClickButton(d, id);
        }
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_ADDR_PAUSE_TIME)) ||  // at once with the pause box
                     IsWindowEnabled(GetDlgItem(d, IDC_ADDR_PAUSE_COUNT)));
        SetDlgItemTextA(d, IDC_ADDR_PAUSE_TIME, "");  // no number reads as 0
        SetDlgItemTextA(d, IDC_ADDR_PAUSE_COUNT, "2");
        ClickButton(d, IDC_ADDR_CLEAR);
        EXPECT_EQ(ItemText(d, IDC_ADDR_TEXT), "");
        SetDlgItemTextA(d, IDC_ADDR_TEXT, "old text");
        SetClipboardText(nullptr);  // no text on the clipboard: the edit is emptied
        ClickButton(d, IDC_ADDR_PASTE);
        EXPECT_EQ(ItemText(d, IDC_ADDR_TEXT), "");
        SetClipboardText(pasted.c_str());
        ClickButton(d, IDC_ADDR_PASTE);
        ClickButton(d, IDOK);
    });
    EXPECT_TRUE(dialog.DoModal(nullptr));
    EXPECT_EQ(driver.Count(), 1);
    EXPECT_EQ(dialog.addressText.Text(), pasted);
    EXPECT_EQ(dialog.addressText.length, static_cast<int32_t>(pasted.size()));
    EXPECT_EQ((std::vector<int>{dialog.HostNameToIP, dialog.LoadOnlyLastIP, dialog.ResolveIPAddr, dialog.FindServerByIP,
                                dialog.Pause, dialog.PauseTime, dialog.PauseCount, dialog.UseRdap,
                                dialog.ReuseMaxAddresses, dialog.MaxConversations}),
              (std::vector<int>{0, 1, 0, 1, 0, 0, 2, 0, 256, 3}));  // the pause fields still copied while disabled
}

// The language file on real menus and dialogs, and right-to-left mirroring.
// (The template that "/savelangfile" writes is checked end to end.)
static std::string MenuText(HMENU menu, UINT item, UINT flags) {
    char text[512] = {};
    GetMenuStringA(menu, item, text, sizeof text, flags);
    return text;
}

TEST(Language, MenuAndDialogTextsAreReplacedAndRtlOneMirrors) {
    for (const char* rtl : {"1", "2"}) {
        WriteFileBytes(ProgramLanguageFilePath(),
                       std::string("[general]\r\nrtl=") + rtl +
                           "\r\n[menu_102]\r\n40001=Save selected\r\n40002=\r\n70001=File\r\n70004=Help\r\n71001=x\r\n"
                           "[menu_104]\r\n40008=Copy\r\n[dialog_1096]\r\ncaption=Columns\r\n1=OK\r\n4242=x\r\n"
                           "[dialog_109]\r\n1=wrong dialog\r\n");
        InitLanguage();
        HMENU menu = LoadUiMenu(IDR_MAINMENU);
        EXPECT_EQ(MenuText(menu, IDM_EXIT, MF_BYCOMMAND), "\xCD\xCB\xB3\xF6");  // empty value: built-in 退出
        EXPECT_EQ(MenuText(menu, 0, MF_BYPOSITION) + MenuText(menu, 3, MF_BYPOSITION), "FileHelp");
        EXPECT_TRUE(GetSubMenu(menu, 3));
        // The item keeps its command, its place and its key.
        EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 0), 3), static_cast<UINT>(IDM_SAVE_SELECTED));
        EXPECT_EQ(MenuText(GetSubMenu(menu, 0), 3, MF_BYPOSITION), "Save selected\tCtrl+S");
        DestroyMenu(menu);
        HMENU context = LoadUiMenu(IDR_CONTEXTMENU);
        EXPECT_EQ(MenuText(GetSubMenu(context, 0), IDM_COPY, MF_BYCOMMAND), "Copy\tCtrl+C");
        EXPECT_EQ(MenuText(GetSubMenu(context, 1), IDM_COPY, MF_BYCOMMAND), "Copy\tCtrl+C");
        DestroyMenu(context);
        StandardDialog dialog(IDD_COLUMNS);
        DialogDriver driver([&](HWND d) {
            EXPECT_EQ(WindowText(d) + ItemText(d, IDOK) + ItemText(d, IDCANCEL), "ColumnsOK\xC8\xA1\xCF\xFB");  // 取消
            EXPECT_EQ((GetWindowLongA(d, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0, rtl[0] == '1');
            ClickButton(d, IDCANCEL);
        });
        dialog.DoModal(nullptr);
        EXPECT_EQ(driver.Count(), 1);
    }
    DeleteFileA(ProgramLanguageFilePath().c_str());
    InitLanguage();
}

// The column settings dialog on a real main window: its buttons and width
// field follow the selection, and OK (not Cancel) reaches the result list.
// (What the rows become is the core's ColumnSettings.)
namespace {

HWND Entries(HWND d) {
    return GetDlgItem(d, IDC_COLUMNS_LIST);
}
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

TEST_F(MainWindowTest, TheColumnDialogFollowsTheSelectionAndOnlyOkReachesTheList) {
    Open();
    DialogDriver driver([&](HWND d) {
        if (driver.Count() == 2) {             // hide, move and width, then OK
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
            return ClickButton(d, IDOK);
        }
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
    const int width4 = ListView_GetColumnWidth(list, 4);
    Command(IDM_CHOOSE_COLUMNS);
    EXPECT_EQ(ListView_GetColumnWidth(list, 4), width4);
    Command(IDM_CHOOSE_COLUMNS);
    EXPECT_EQ(driver.Count(), 2);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), 0);
    EXPECT_EQ(ListView_GetColumnWidth(list, 3), 1);
    std::vector<int> order(18);
    ListView_GetColumnOrderArray(list, 18, order.data());
    EXPECT_EQ(order, (std::vector<int>{0, 2, 1, 3, 4, 6, 7, 5, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}));
}

// The properties dialog on the real dialog template: one label and one
// read-only field per column, in column id order, laid out from the two
// hidden template controls.
TEST_F(MainWindowTest, PropertiesShowEveryColumnOfTheRowInIdOrder) {
    WriteSettings("ResolveIPAddr=0\r\n");
    Open();
    AddRows({"198.51.100.7", "203.0.113.9"});
    LookupItem& item = *window->Addresses().At(1);
    item.status = LookupStatus::Succeeded;
    std::strcpy(item.record.ownerName, "Example Owner \"Ltd\"");
    std::strcpy(item.record.address, "Rua A, 10, Recife");
    window->Addresses().Rebuild(true);
    ListView_SetColumnWidth(list, 3, 0);  // hidden and reordered columns change nothing here
    int order[18];
    for (int i = 0; i < 18; ++i) order[i] = 17 - i;
    ListView_SetColumnOrderArray(list, 18, order);
    std::string headers[18];
    for (int column = 0; column < 18; ++column) {
        char text[256] = {};
        LVCOLUMNA header = {LVCF_TEXT, 0, 0, text, sizeof text, 0, 0, 0};
        ListView_GetColumn(list, column, &header);
        headers[column] = text;
    }
    Select({1});
    DialogDriver driver([&](HWND d) {
        const auto rect = [d](HWND control) {
            RECT r = {};
            GetWindowRect(control, &r);
            MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&r), 2);
            return r;
        };
        const RECT labels = rect(GetDlgItem(d, IDC_PROP_LABEL)), fields = rect(GetDlgItem(d, IDC_PROP_FIELD));
        const int step = fields.bottom - fields.top + 4;
        for (int column = 0; column < 18; ++column) {
            HWND label = GetDlgItem(d, kPropertyLabelIdBase + column),
                 field = GetDlgItem(d, kPropertyFieldIdBase + column);
            ASSERT_TRUE(label && field) << column;
            EXPECT_EQ(WindowText(label), headers[column] + ":") << column;
            EXPECT_EQ(WindowText(field), Cell(1, column)) << column;
            EXPECT_TRUE((GetWindowLongA(field, GWL_STYLE) & ES_READONLY) && IsWindowVisible(field));
            const RECT l = rect(label), f = rect(field);
            EXPECT_EQ(l.left, labels.left);
            EXPECT_EQ(l.top, labels.top + column * step) << column;
            EXPECT_EQ(f.top, fields.top + column * step) << column;
            EXPECT_EQ(f.right, fields.right) << column;
        }
        EXPECT_GT(rect(GetDlgItem(d, IDOK)).top, rect(GetDlgItem(d, kPropertyFieldIdBase + 17)).bottom);
        EXPECT_EQ(WindowText(GetDlgItem(d, kPropertyFieldIdBase + 10)), "Rua A, 10, Recife");  // not split into lines
        ClickButton(d, IDOK);
    });
    Command(IDM_PROPERTIES);
    EXPECT_EQ(driver.Count(), 1);
    EXPECT_EQ(GetFocus(), list);
}
