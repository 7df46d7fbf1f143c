// The address selection dialog with its real template.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "input/address_dialog.h"
#include "resources/resource_ids.h"
#include "win_test_support.h"

namespace {

bool Enabled(HWND d, int id) { return IsWindowEnabled(GetDlgItem(d, id)) != FALSE; }
bool Checked(HWND d, int id) { return IsDlgButtonChecked(d, id) == BST_CHECKED; }
void Toggle(HWND d, int id) {
    CheckDlgButton(d, id, Checked(d, id) ? BST_UNCHECKED : BST_CHECKED);
    ClickButton(d, id);
}

struct AddressDialogTest : ::testing::Test {
    AddressDialog dialog;
    void SetUp() override {
        dialog.addressText.SetText("198.51.100.1\r\n203.0.113.9");
        dialog.HostNameToIP = 1;
        dialog.LoadOnlyLastIP = 0;
        dialog.Pause = 1;
        dialog.ResolveIPAddr = 1;
        dialog.FindServerByIP = 0;
        dialog.PauseTime = 30;
        dialog.PauseCount = 10;
    }
    // Runs the dialog: act drives it, then it ends with `end`.
    bool Run(int end, std::function<void(HWND)> act) {
        DialogDriver driver([&](HWND d) {
            act(d);
            ClickButton(d, end);
        });
        const bool ok = dialog.DoModal(nullptr);
        EXPECT_EQ(driver.Count(), 1);
        return ok;
    }
};

}  // namespace

TEST_F(AddressDialogTest, OpensWithTheValuesAndOkCopiesEveryControlBack) {
    const std::string received = "Received: from relay ([192.0.2.7])";
    EXPECT_TRUE(Run(IDOK, [&](HWND d) {
        EXPECT_EQ(ItemText(d, IDC_ADDR_TEXT), "198.51.100.1\r\n203.0.113.9");
        EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_ADDR_TEXT));
        EXPECT_TRUE(Checked(d, IDC_ADDR_HOST_TO_IP));
        EXPECT_FALSE(Checked(d, IDC_ADDR_LAST_ONLY));
        EXPECT_TRUE(Checked(d, IDC_ADDR_PAUSE));
        EXPECT_TRUE(Checked(d, IDC_ADDR_RESOLVE));
        EXPECT_FALSE(Checked(d, IDC_ADDR_FIND_SERVER));
        EXPECT_EQ(ItemText(d, IDC_ADDR_PAUSE_TIME), "30");
        EXPECT_EQ(ItemText(d, IDC_ADDR_PAUSE_COUNT), "10");
        EXPECT_TRUE(Enabled(d, IDC_ADDR_PAUSE_TIME));
        SetDlgItemTextA(d, IDC_ADDR_TEXT, received.c_str());
        for (int id : {IDC_ADDR_HOST_TO_IP, IDC_ADDR_LAST_ONLY, IDC_ADDR_RESOLVE, IDC_ADDR_FIND_SERVER}) Toggle(d, id);
        SetDlgItemTextA(d, IDC_ADDR_PAUSE_TIME, "");  // no number reads as 0
        SetDlgItemTextA(d, IDC_ADDR_PAUSE_COUNT, "2");
        // Unchecking the pause box disables its fields at once.
        Toggle(d, IDC_ADDR_PAUSE);
        EXPECT_FALSE(Enabled(d, IDC_ADDR_PAUSE_TIME));
        EXPECT_FALSE(Enabled(d, IDC_ADDR_PAUSE_COUNT));
    }));
    EXPECT_EQ(dialog.addressText.Text(), received);
    EXPECT_EQ(dialog.HostNameToIP, 0);
    EXPECT_EQ(dialog.LoadOnlyLastIP, 1);
    EXPECT_EQ(dialog.Pause, 0);
    EXPECT_EQ(dialog.ResolveIPAddr, 0);
    EXPECT_EQ(dialog.FindServerByIP, 1);
    EXPECT_EQ(dialog.PauseTime, 0);
    EXPECT_EQ(dialog.PauseCount, 2);  // still copied while disabled
}

TEST_F(AddressDialogTest, CancelCopiesNothingAndAnUncheckedPauseDisablesItsFields) {
    dialog.Pause = 0;
    EXPECT_FALSE(Run(IDCANCEL, [](HWND d) {
        EXPECT_FALSE(Enabled(d, IDC_ADDR_PAUSE_TIME));
        EXPECT_FALSE(Enabled(d, IDC_ADDR_PAUSE_COUNT));
        SetDlgItemTextA(d, IDC_ADDR_TEXT, "other");
        Toggle(d, IDC_ADDR_HOST_TO_IP);
    }));
    EXPECT_STREQ(dialog.addressText.Text(), "198.51.100.1\r\n203.0.113.9");
    EXPECT_EQ(dialog.HostNameToIP, 1);
}

TEST_F(AddressDialogTest, ClearAndPasteReplaceTheWholeText) {
    std::string longText;  // longer than the edit's default limit
    while (longText.size() < 100000) longText += "198.51.100." + std::to_string(longText.size() % 250) + "\r\n";
    EXPECT_TRUE(Run(IDOK, [&](HWND d) {
        ClickButton(d, IDC_ADDR_CLEAR);
        EXPECT_EQ(ItemText(d, IDC_ADDR_TEXT), "");
        SetDlgItemTextA(d, IDC_ADDR_TEXT, "old text");
        SetClipboardText("203.0.113.9, 198.51.100.4");
        ClickButton(d, IDC_ADDR_PASTE);
        EXPECT_EQ(ItemText(d, IDC_ADDR_TEXT), "203.0.113.9, 198.51.100.4");
        SetClipboardText(nullptr);  // no text: the edit is emptied
        ClickButton(d, IDC_ADDR_PASTE);
        EXPECT_EQ(ItemText(d, IDC_ADDR_TEXT), "");
        SetClipboardText(longText.c_str());
        ClickButton(d, IDC_ADDR_PASTE);
    }));
    EXPECT_EQ(dialog.addressText.Text(), longText);
    EXPECT_EQ(dialog.addressText.length, static_cast<int32_t>(longText.size()));
}
