// The address selection dialog with its real template: the values in, every
// control back on OK, the pause fields by the pause box, clear and paste.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "input/address_dialog.h"
#include "resources/resource_ids.h"
#include "win_test_support.h"

TEST(AddressDialog, OpensWithTheValuesAndOkCopiesEveryControlBack) {
    AddressDialog dialog;
    dialog.addressText.SetText("198.51.100.1\r\n203.0.113.9");
    dialog.HostNameToIP = dialog.Pause = dialog.ResolveIPAddr = 1;
    dialog.LoadOnlyLastIP = dialog.FindServerByIP = 0;
    dialog.PauseTime = 30;
    dialog.PauseCount = 10;
    std::string pasted;  // longer than an edit takes by default
    while (pasted.size() < 100000) pasted += "198.51.100." + std::to_string(pasted.size() % 250) + "\r\n";
    DialogDriver driver([&](HWND d) {
        const auto checked = [d](int id) { return IsDlgButtonChecked(d, id) == BST_CHECKED; };
        EXPECT_EQ(ItemText(d, IDC_ADDR_TEXT), "198.51.100.1\r\n203.0.113.9");
        EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_ADDR_TEXT));
        EXPECT_TRUE(checked(IDC_ADDR_HOST_TO_IP) && checked(IDC_ADDR_PAUSE) && checked(IDC_ADDR_RESOLVE));
        EXPECT_FALSE(checked(IDC_ADDR_LAST_ONLY) || checked(IDC_ADDR_FIND_SERVER));
        EXPECT_EQ(ItemText(d, IDC_ADDR_PAUSE_TIME) + " " + ItemText(d, IDC_ADDR_PAUSE_COUNT), "30 10");
        for (int id : {IDC_ADDR_HOST_TO_IP, IDC_ADDR_LAST_ONLY, IDC_ADDR_RESOLVE, IDC_ADDR_FIND_SERVER, IDC_ADDR_PAUSE}) {
            CheckDlgButton(d, id, checked(id) ? BST_UNCHECKED : BST_CHECKED);
            ClickButton(d, id);
        }
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_ADDR_PAUSE_TIME)));  // at once with the pause box
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_ADDR_PAUSE_COUNT)));
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
    EXPECT_EQ(dialog.HostNameToIP + dialog.Pause + dialog.ResolveIPAddr, 0);
    EXPECT_EQ(dialog.LoadOnlyLastIP + dialog.FindServerByIP, 2);
    EXPECT_EQ(dialog.PauseTime, 0);
    EXPECT_EQ(dialog.PauseCount, 2);  // still copied while disabled
}
