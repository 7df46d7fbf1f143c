// The language file on real menus and dialogs, and right-to-left mirroring.
// (The template that "/savelangfile" writes is checked end to end.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "lang/language.h"
#include "lang/language_state.h"
#include "lang/ui_strings.h"
#include "resources/resource_ids.h"
#include "shell/dialog_base.h"
#include "win_test_support.h"

namespace {

std::string MenuText(HMENU menu, UINT item, UINT flags) {
    char text[512] = {};
    GetMenuStringA(menu, item, text, sizeof text, flags);
    return text;
}

// A language file beside win_tests.exe for the time of one test.
struct LanguageTest : ::testing::Test {
    void Use(const std::string& bytes) {
        WriteFileBytes(ProgramLanguageFilePath(), bytes);
        InitLanguage();
    }
    void TearDown() override {
        DeleteFileA(ProgramLanguageFilePath().c_str());
        InitLanguage();
    }
};

}  // namespace

TEST_F(LanguageTest, MenuItemsAndTopLevelSubmenusAreReplaced) {
    Use("[menu_102]\r\n40001=Save selected\r\n40002=\r\n70001=File\r\n70004=Help\r\n71001=x\r\n"
        "[menu_104]\r\n40008=Copy\r\n");
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
}

TEST_F(LanguageTest, DialogTextsByTemplateAndRtlOneMirrors) {
    for (const char* rtl : {"1", "2"}) {
        Use(std::string("[general]\r\nrtl=") + rtl + "\r\n[dialog_1096]\r\ncaption=Columns\r\n1=OK\r\n4242=x\r\n"
            "[dialog_109]\r\n1=wrong dialog\r\n");
        StandardDialog dialog(IDD_COLUMNS);
        DialogDriver driver([&](HWND d) {
            EXPECT_EQ(WindowText(d) + ItemText(d, IDOK) + ItemText(d, IDCANCEL), "ColumnsOK\xC8\xA1\xCF\xFB");  // 取消
            RECT margin = {7, 0, 0, 0}, client, label;  // the label's left edge in dialog units
            MapDialogRect(d, &margin);
            GetClientRect(d, &client);
            MapWindowPoints(d, nullptr, reinterpret_cast<POINT*>(&client), 2);
            if (client.left > client.right) std::swap(client.left, client.right);
            GetWindowRect(GetDlgItem(d, IDC_COLUMNS_WIDTH_LABEL), &label);
            const bool mirrored = (GetWindowLongA(d, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
            EXPECT_EQ(mirrored, rtl[0] == '1');
            EXPECT_NEAR(mirrored ? client.right - label.right : label.left - client.left, margin.left, 1) << rtl;
            ClickButton(d, IDCANCEL);
        });
        dialog.DoModal(nullptr);
        EXPECT_EQ(driver.Count(), 1);
    }
}
