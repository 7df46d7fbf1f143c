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
    // Runs a framework dialog of a template; act reads it, then it is cancelled.
    void RunDialog(int templateId, std::function<void(HWND)> act) {
        StandardDialog dialog(static_cast<uint16_t>(templateId));
        DialogDriver driver([&](HWND d) {
            act(d);
            ClickButton(d, IDCANCEL);
        });
        dialog.DoModal(nullptr);
        EXPECT_EQ(driver.Count(), 1);
    }
};

const char kExit[] = "\xCD\xCB\xB3\xF6";  // 退出

}  // namespace

TEST_F(LanguageTest, MenuItemsAndTopLevelSubmenusAreReplaced) {
    Use("[general]\r\n[menu_102]\r\n40001=Save selected\r\n40002=\r\n70001=File\r\n70002=Edit\r\n70003=View\r\n"
        "70004=Help\r\n71001=Nothing\r\n[menu_104]\r\n40008=Copy\r\n");
    HMENU menu = LoadUiMenu(IDR_MAINMENU);
    ASSERT_TRUE(menu);
    EXPECT_EQ(MenuText(menu, IDM_EXIT, MF_BYCOMMAND), kExit);  // empty value: built-in text
    const char* tops[] = {"File", "Edit", "View", "Help"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(MenuText(menu, static_cast<UINT>(i), MF_BYPOSITION), tops[i]);
        EXPECT_TRUE(GetSubMenu(menu, i));
    }
    // The item keeps its command, its place and its key.
    HMENU file = GetSubMenu(menu, 0);
    EXPECT_EQ(GetMenuItemID(file, 3), static_cast<UINT>(IDM_SAVE_SELECTED));
    EXPECT_EQ(MenuText(file, 3, MF_BYPOSITION), "Save selected\tCtrl+S");
    DestroyMenu(menu);
    HMENU context = LoadUiMenu(IDR_CONTEXTMENU);
    EXPECT_EQ(MenuText(GetSubMenu(context, 0), IDM_COPY, MF_BYCOMMAND), "Copy\tCtrl+C");
    EXPECT_EQ(MenuText(GetSubMenu(context, 1), IDM_COPY, MF_BYCOMMAND), "Copy\tCtrl+C");
    DestroyMenu(context);
}

TEST_F(LanguageTest, DialogCaptionAndControlsByTemplateId) {
    Use("[dialog_1096]\r\ncaption=Column settings\r\n1=OK\r\n4242=nobody\r\n[dialog_109]\r\n1=wrong dialog\r\n");
    RunDialog(IDD_COLUMNS, [&](HWND d) {
        EXPECT_EQ(WindowText(d), "Column settings");
        EXPECT_EQ(ItemText(d, IDOK), "OK");
        EXPECT_EQ(ItemText(d, IDCANCEL), "\xC8\xA1\xCF\xFB");  // 取消, not in the file
    });
}

TEST_F(LanguageTest, RtlOneMirrorsChildPositionsAndOtherValuesDoNot) {
    for (const char* rtl : {"1", "2"}) {
        Use(std::string("[general]\r\nrtl=") + rtl + "\r\n");
        EXPECT_EQ(LanguageRightToLeft(), rtl[0] == '1');
        RunDialog(IDD_COLUMNS, [&](HWND d) {
            RECT margin = {7, 0, 0, 0};  // the label's left edge in dialog units
            MapDialogRect(d, &margin);
            RECT client;
            GetClientRect(d, &client);
            MapWindowPoints(d, nullptr, reinterpret_cast<POINT*>(&client), 2);
            if (client.left > client.right) std::swap(client.left, client.right);
            RECT label;
            GetWindowRect(GetDlgItem(d, IDC_COLUMNS_WIDTH_LABEL), &label);
            const bool mirrored = (GetWindowLongA(d, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
            EXPECT_EQ(mirrored, rtl[0] == '1');
            EXPECT_NEAR(mirrored ? client.right - label.right : label.left - client.left, margin.left, 1) << rtl;
        });
    }
}
