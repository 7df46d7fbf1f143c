// The About box: the product, its link and the translator's line.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "extras/about_dialog.h"
#include "lang/language.h"
#include "lang/language_state.h"
#include "resources/resource_ids.h"
#include "shell/app.h"
#include "win_test_support.h"

namespace {

struct AboutTest : ::testing::Test {
    const HCURSOR hand = LoadCursorA(AppInstance(), MAKEINTRESOURCEA(IDCUR_HAND));
    void UseLanguage(const std::string& bytes) {
        WriteFileBytes(ProgramLanguageFilePath(), bytes);
        InitLanguage();
    }
    void TearDown() override {
        DeleteFileA(ProgramLanguageFilePath().c_str());
        InitLanguage();
    }
    // Runs the box; act reads it, then it is closed.
    void Run(std::function<void(HWND)> act) {
        DialogDriver driver([&](HWND box) {
            act(box);
            ClickButton(box, IDOK);
        });
        RunAboutBox(nullptr);
        EXPECT_EQ(driver.Count(), 1);
    }
};

// The text colour a static control is drawn with.
COLORREF TextColour(HWND box, int id, HBRUSH* brush = nullptr) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    const LRESULT b = SendMessageA(box, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    if (brush) *brush = reinterpret_cast<HBRUSH>(b);
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

// Moves the mouse over a control, as the box sees it, and returns the cursor.
HCURSOR CursorOver(HWND box, int id) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    const RECT r = RectIn(GetDlgItem(box, id), box);
    SendMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    return GetCursor();
}

bool Shown(HWND box, int id) { return (GetWindowLongA(GetDlgItem(box, id), GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace

TEST_F(AboutTest, ShowsTheProductAndTheLinkWithoutATranslatorLine) {
    ASSERT_TRUE(hand);
    const int gdiBefore = GdiObjectCount();
    Run([&](HWND box) {
        EXPECT_EQ(WindowText(box), "Ownerlens");
        EXPECT_EQ(ItemText(box, IDC_ABOUT_PRODUCT), "Ownerlens v1.0.0");
        EXPECT_EQ(ItemText(box, IDC_ABOUT_LINK), "http://www.velmora.example/");
        EXPECT_FALSE(Shown(box, IDC_ABOUT_TRANSLATOR_LABEL));
        EXPECT_FALSE(Shown(box, IDC_ABOUT_TRANSLATOR));
        HBRUSH brush = nullptr;
        EXPECT_EQ(TextColour(box, IDC_ABOUT_LINK, &brush), RGB(0, 0, 192));
        EXPECT_EQ(brush, GetSysColorBrush(COLOR_BTNFACE));
        EXPECT_NE(TextColour(box, IDC_ABOUT_PRODUCT), RGB(0, 0, 192));
        EXPECT_EQ(CursorOver(box, IDC_ABOUT_LINK), hand);
        EXPECT_NE(CursorOver(box, IDC_ABOUT_PRODUCT), hand);
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HFONT>(SendDlgItemMessageA(box, IDC_ABOUT_LINK, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        EXPECT_TRUE(font.lfUnderline);
    });
    EXPECT_EQ(GdiObjectCount(), gdiBefore);
}

TEST_F(AboutTest, ATranslatorWithoutUrlIsPlainTextAndWithUrlALink) {
    UseLanguage("[general]\r\nTranslatorName=Jane Doe\r\n[dialog_112]\r\ncaption=About\r\n1=Close\r\n"
                "1005=Translator:\r\n1002=not the product\r\n1004=not the link\r\n1006=not the name\r\n");
    Run([&](HWND box) {
        EXPECT_EQ(WindowText(box), "Ownerlens");  // never translated, as the product and link
        EXPECT_EQ(ItemText(box, IDOK), "Close");
        EXPECT_EQ(ItemText(box, IDC_ABOUT_TRANSLATOR_LABEL), "Translator:");
        EXPECT_EQ(ItemText(box, IDC_ABOUT_PRODUCT), "Ownerlens v1.0.0");
        EXPECT_EQ(ItemText(box, IDC_ABOUT_LINK), "http://www.velmora.example/");
        EXPECT_EQ(ItemText(box, IDC_ABOUT_TRANSLATOR), "Jane Doe");
        EXPECT_TRUE(Shown(box, IDC_ABOUT_TRANSLATOR));
        EXPECT_NE(TextColour(box, IDC_ABOUT_TRANSLATOR), RGB(0, 0, 192));
        EXPECT_NE(CursorOver(box, IDC_ABOUT_TRANSLATOR), hand);
    });
    UseLanguage("[general]\r\nTranslatorName=Jane Doe\r\nTranslatorURL=http://jane.example/\r\n");
    Run([&](HWND box) {
        EXPECT_EQ(TextColour(box, IDC_ABOUT_TRANSLATOR), RGB(0, 0, 192));
        EXPECT_EQ(CursorOver(box, IDC_ABOUT_TRANSLATOR), hand);
    });
}
