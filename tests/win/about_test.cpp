// The About box, its links and translator line, and the public-address page.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "dialog_driver.h"
#include "extras/about_dialog.h"
#include "framework/shell_open.h"
#include "lang/language.h"
#include "lang/language_state.h"
#include "resources/resource_ids.h"
#include "framework/app.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "win_test_support.h"

namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

struct AboutTest : ::testing::Test {
    std::string languagePath = ProgramLanguageFilePath();

    void UseLanguage(const std::string& bytes) {
        WriteBytes(languagePath, bytes);
        InitLanguage();
    }
    void TearDown() override {
        DeleteFileA(languagePath.c_str());
        InitLanguage();
    }
};

// What the box answers for a static control's colours: the text colour set
// and the brush returned.
struct Colours {
    COLORREF text;
    int mode;
    HBRUSH brush;
};
Colours AskColours(HWND box, int id) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageA(box, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(GetDlgItem(box, id))));
    Colours c = {GetTextColor(dc), GetBkMode(dc), brush};
    DeleteDC(dc);
    return c;
}

// Moves the mouse over a control, as the box sees it, and returns the cursor.
HCURSOR CursorOver(HWND box, int id) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    RECT r = ScreenRect(GetDlgItem(box, id));
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(box, &p);
    SendMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    return GetCursor();
}

// Shown or hidden by the box (the box itself shows only once its loop idles).
bool Visible(HWND box, int id) {
    return (GetWindowLongA(GetDlgItem(box, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

}  // namespace

TEST_F(AboutTest, ShowsTheProductAndTheLinkWithoutATranslatorLine) {
    DeleteFileA(languagePath.c_str());
    InitLanguage();
    const HCURSOR hand = LoadCursorA(AppInstance(), MAKEINTRESOURCEA(IDCUR_HAND));
    ASSERT_TRUE(hand);
    const int gdiBefore = GdiObjectCount();
    DialogDriver driver([&](HWND box) {
        EXPECT_EQ(WindowText(box), "Ownerlens");
        EXPECT_EQ(WindowText(GetDlgItem(box, IDC_ABOUT_PRODUCT)), "Ownerlens v1.0.0");
        EXPECT_EQ(WindowText(GetDlgItem(box, IDC_ABOUT_LINK)), "http://www.velmora.example/");
        EXPECT_FALSE(Visible(box, IDC_ABOUT_TRANSLATOR_LABEL));
        EXPECT_FALSE(Visible(box, IDC_ABOUT_TRANSLATOR));
        const Colours link = AskColours(box, IDC_ABOUT_LINK);
        EXPECT_EQ(link.text, RGB(0, 0, 192));
        EXPECT_EQ(link.mode, TRANSPARENT);
        EXPECT_EQ(link.brush, GetSysColorBrush(COLOR_BTNFACE));
        EXPECT_NE(AskColours(box, IDC_ABOUT_PRODUCT).text, RGB(0, 0, 192));
        EXPECT_EQ(CursorOver(box, IDC_ABOUT_LINK), hand);
        EXPECT_NE(CursorOver(box, IDC_ABOUT_PRODUCT), hand);
        // The link font: bold and underlined.
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HFONT>(SendDlgItemMessageA(box, IDC_ABOUT_LINK, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        EXPECT_TRUE(font.lfUnderline);
        ClickButton(box, IDOK);
    });
    RunAboutBox(nullptr);
    EXPECT_EQ(driver.Count(), 1);
    EXPECT_EQ(GdiObjectCount(), gdiBefore);
}

TEST_F(AboutTest, ATranslatorWithoutUrlIsPlainTextAndWithUrlALink) {
    const HCURSOR hand = LoadCursorA(AppInstance(), MAKEINTRESOURCEA(IDCUR_HAND));
    UseLanguage(
        "[general]\r\nTranslatorName=Jane Doe\r\n[dialog_112]\r\ncaption=About\r\n1=Close\r\n"
        "1005=Translator:\r\n1002=not the product\r\n1004=not the link\r\n1006=not the name\r\n");
    DialogDriver plain([&](HWND box) {
        EXPECT_EQ(WindowText(box), "Ownerlens");
        EXPECT_EQ(WindowText(GetDlgItem(box, IDOK)), "Close");
        EXPECT_EQ(WindowText(GetDlgItem(box, IDC_ABOUT_TRANSLATOR_LABEL)), "Translator:");
        EXPECT_EQ(WindowText(GetDlgItem(box, IDC_ABOUT_PRODUCT)), "Ownerlens v1.0.0");
        EXPECT_EQ(WindowText(GetDlgItem(box, IDC_ABOUT_LINK)), "http://www.velmora.example/");
        EXPECT_EQ(WindowText(GetDlgItem(box, IDC_ABOUT_TRANSLATOR)), "Jane Doe");
        EXPECT_TRUE(Visible(box, IDC_ABOUT_TRANSLATOR));
        EXPECT_NE(AskColours(box, IDC_ABOUT_TRANSLATOR).text, RGB(0, 0, 192));
        EXPECT_NE(CursorOver(box, IDC_ABOUT_TRANSLATOR), hand);
        // A click on the plain name is not the box's business.
        RECT r = ScreenRect(GetDlgItem(box, IDC_ABOUT_TRANSLATOR));
        POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ScreenToClient(box, &p);
        EXPECT_EQ(SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y)), 0);
        // Esc closes the box too.
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    });
    RunAboutBox(nullptr);
    EXPECT_EQ(plain.Count(), 1);

    UseLanguage("[general]\r\nTranslatorName=Jane Doe\r\nTranslatorURL=http://jane.example/\r\n");
    DialogDriver link([&](HWND box) {
        EXPECT_EQ(AskColours(box, IDC_ABOUT_TRANSLATOR).text, RGB(0, 0, 192));
        EXPECT_EQ(CursorOver(box, IDC_ABOUT_TRANSLATOR), hand);
        ClickButton(box, IDOK);
    });
    RunAboutBox(nullptr);
    EXPECT_EQ(link.Count(), 1);
}

TEST_F(AboutTest, TheCommandGivesTheFocusBackToTheList) {
    CommandLine commandLine;
    commandLine.Build("/nodlgstart");
    MainWindow window;
    window.commandLine = &commandLine;
    window.writeSettingsAtExit = false;
    ASSERT_TRUE(window.Create());
    PumpMessages();
    SetFocus(window.textPane);
    DialogDriver driver([&](HWND box) { ClickButton(box, IDOK); });
    SendMessageA(window.hwnd, WM_COMMAND, IDM_ABOUT, 0);
    EXPECT_EQ(driver.Count(), 1);
    EXPECT_EQ(GetFocus(), window.listView);
    DestroyWindow(window.hwnd);
    PumpMessages();
}

namespace {

// The keys the browser tests create, deepest first.
void DeleteTestKeys() {
    for (const char* key :
         {"Software\\OwnerlensTest\\Classes\\http\\shell\\open\\command",
          "Software\\OwnerlensTest\\Classes\\http\\shell\\open", "Software\\OwnerlensTest\\Classes\\http\\shell",
          "Software\\OwnerlensTest\\Classes\\http", "Software\\OwnerlensTest\\Classes", "Software\\OwnerlensTest"}) {
        RegDeleteKeyA(HKEY_CURRENT_USER, key);
    }
}

// HKEY_CLASSES_ROOT of this process redirected to a private key, so that the
// browser command can be set without touching the prefix's own.
struct BrowserTest : ::testing::Test {
    HKEY classes = nullptr;
    std::string record;

    void SetUp() override {
        DeleteTestKeys();
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\OwnerlensTest\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &classes, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, classes), ERROR_SUCCESS);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        record = std::string(temp) + "ol_browser_args.txt";
        DeleteFileA(record.c_str());
    }
    void TearDown() override {
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        RegCloseKey(classes);
        DeleteTestKeys();
        DeleteFileA(record.c_str());
        SetEnvironmentVariableA("OLTOOL_RECORD", nullptr);
    }
    void SetCommand(const std::string& command) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
        RegCloseKey(key);
    }
    // The companion tool of the end-to-end tests records its arguments.
    static std::string Tool() {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string s = path;
        return s.substr(0, s.rfind('\\')) + "\\..\\e2e\\oltool.exe";
    }
};

}  // namespace

TEST_F(BrowserTest, NoCommandOrAMissingExecutableDoesNothing) {
    char browser[MAX_PATH] = "x";
    EXPECT_FALSE(FindDefaultBrowser(browser));
    EXPECT_FALSE(ShowMyAddress(nullptr));
    SetCommand("\"C:\\no\\such\\browser.exe\" -url \"%1\"");
    EXPECT_FALSE(FindDefaultBrowser(browser));
    EXPECT_FALSE(ShowMyAddress(nullptr));
    SetCommand("");
    EXPECT_FALSE(FindDefaultBrowser(browser));
}

TEST_F(BrowserTest, ShowMyAddressStartsTheBrowserOnThePage) {
    char full[MAX_PATH];
    GetFullPathNameA(Tool().c_str(), MAX_PATH, full, nullptr);
    ASSERT_NE(GetFileAttributesA(full), INVALID_FILE_ATTRIBUTES) << full;
    SetCommand(std::string("\"") + full + "\" -nohome \"%1\"");
    char browser[MAX_PATH] = {};
    ASSERT_TRUE(FindDefaultBrowser(browser));
    EXPECT_STREQ(browser, full);
    SetEnvironmentVariableA("OLTOOL_RECORD", record.c_str());
    ASSERT_TRUE(ShowMyAddress(nullptr));
    std::string args;
    for (int i = 0; i < 200 && args.empty(); ++i) {
        Sleep(50);
        std::ifstream in(record, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        args = s.str();
    }
    EXPECT_EQ(args, "http://www.velmora.example/show_my_ip_address.php");
}
