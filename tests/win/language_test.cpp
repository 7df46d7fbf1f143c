// The language file on real menus and dialogs, right-to-left mirroring, and
// the template that "/savelangfile" writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "dialog_driver.h"
#include "lang/format_conversions.h"
#include "lang/language.h"
#include "lang/language_state.h"
#include "lang/ui_strings.h"
#include "resources/resource_ids.h"
#include "framework/app.h"
#include "framework/dialog_base.h"
#include "app/startup.h"
#include "win_test_support.h"

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Sections of an INI file: name -> (key -> value), as the profile API reads
// them (no blanks around keys and values in the files checked here).
using Ini = std::map<std::string, std::map<std::string, std::string>>;
Ini ParseIni(const std::string& bytes) {
    Ini ini;
    std::istringstream in(bytes);
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
            ini[section];
            continue;
        }
        const size_t eq = line.find('=');
        if (eq != std::string::npos) ini[section][line.substr(0, eq)] = line.substr(eq + 1);
    }
    return ini;
}

std::string MenuText(HMENU menu, UINT item, UINT flags) {
    char text[512] = {};
    GetMenuStringA(menu, item, text, sizeof text, flags);
    return text;
}

// A language file beside win_tests.exe for the time of one test.
struct LanguageTest : ::testing::Test {
    std::string path = ProgramLanguageFilePath();

    void Use(const std::string& bytes) {
        WriteBytes(path, bytes);
        InitLanguage();
    }
    void TearDown() override {
        DeleteFileA(path.c_str());
        InitLanguage();
    }
    // Runs a framework dialog of a template with a driver.
    void RunDialog(int templateId, std::function<void(HWND)> act) {
        StandardDialog dialog(static_cast<uint16_t>(templateId));
        DialogDriver driver([&](HWND d) {
            act(d);
            PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
        });
        dialog.DoModal(nullptr);
        EXPECT_EQ(driver.Count(), 1);
    }
};

const char kCancel[] = "\xC8\xA1\xCF\xFB";  // 取消
const char kExit[] = "\xCD\xCB\xB3\xF6";    // 退出

}  // namespace

TEST_F(LanguageTest, WithoutAFileMenusAreTheProgramsOwn) {
    DeleteFileA(path.c_str());
    InitLanguage();
    EXPECT_FALSE(LanguageFileInUse());
    EXPECT_STREQ(LanguageCharset(), "");
    EXPECT_FALSE(LanguageRightToLeft());
    HMENU menu = LoadUiMenu(IDR_MAINMENU);
    EXPECT_EQ(MenuText(menu, IDM_EXIT, MF_BYCOMMAND), kExit);
    DestroyMenu(menu);
}

TEST_F(LanguageTest, MenuItemsAndTopLevelSubmenusAreReplaced) {
    Use("[general]\r\ncharset=iso-8859-1\r\nTranslatorName=Jane\r\nTranslatorURL=http://jane.example/\r\n"
        "[menu_102]\r\n40001=Save selected\r\n40002=\r\n70001=File\r\n70002=Edit\r\n70003=View\r\n70004=Help\r\n"
        "71001=Nothing\r\n[menu_104]\r\n40008=Copy\r\n");
    EXPECT_TRUE(LanguageFileInUse());
    EXPECT_STREQ(LanguageCharset(), "iso-8859-1");
    EXPECT_STREQ(TranslatorName(), "Jane");
    EXPECT_STREQ(TranslatorUrl(), "http://jane.example/");
    HMENU menu = LoadUiMenu(IDR_MAINMENU);
    ASSERT_TRUE(menu);
    EXPECT_EQ(MenuText(menu, IDM_SAVE_SELECTED, MF_BYCOMMAND), "Save selected\tCtrl+S");
    EXPECT_EQ(MenuText(menu, IDM_EXIT, MF_BYCOMMAND), kExit);  // empty value: built-in text
    const char* tops[] = {"File", "Edit", "View", "Help"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(MenuText(menu, static_cast<UINT>(i), MF_BYPOSITION), tops[i]);
        EXPECT_TRUE(GetSubMenu(menu, i));
    }
    // The item keeps its command and its place.
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
        EXPECT_EQ(WindowText(GetDlgItem(d, IDOK)), "OK");
        EXPECT_EQ(WindowText(GetDlgItem(d, IDCANCEL)), kCancel);
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
            const RECT hint = ScreenRect(GetDlgItem(d, IDC_COLUMNS_WIDTH_LABEL));
            const LONG exStyle = GetWindowLongA(d, GWL_EXSTYLE);
            if (rtl[0] == '1') {
                EXPECT_NEAR(client.right - hint.right, margin.left, 1) << "rtl=" << rtl;
                EXPECT_TRUE(exStyle & WS_EX_LAYOUTRTL);
                EXPECT_TRUE(GetWindowLongA(GetDlgItem(d, IDC_COLUMNS_WIDTH_LABEL), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
            } else {
                EXPECT_NEAR(hint.left - client.left, margin.left, 1) << "rtl=" << rtl;
                EXPECT_FALSE(exStyle & WS_EX_LAYOUTRTL);
            }
        });
    }
}

TEST_F(LanguageTest, HostileFilesFallBackToTheBuiltInTexts) {
    std::string bytes = "[strings]\r\n4=%s%s%s%n\r\n5=, %n\r\n14=%d %d %d\r\n1004=";
    bytes += std::string(100000, 'H');
    bytes += "\r\n[menu_102]\r\n40002=";
    for (int i = 1; i < 256; ++i) bytes += static_cast<char>(i == '\r' || i == '\n' ? 'x' : i);
    bytes += std::string("\0\0binary\0", 9);
    bytes += "\r\n99999=no such item\r\n[dialog_1096]\r\n1=";
    bytes += std::string(10000, 'W');
    bytes += "\r\n[dialog_";
    ResetUiStringCache();
    Use(bytes);
    char builtin[256];
    for (int id : {4, 5, 14}) {
        LoadStringA(AppInstance(), static_cast<UINT>(id), builtin, sizeof builtin);
        EXPECT_STREQ(GetUiString(static_cast<uint32_t>(id)), builtin) << id;
    }
    EXPECT_LE(std::string(GetUiString(1004)).size(), 4095u);
    HMENU menu = LoadUiMenu(IDR_MAINMENU);
    EXPECT_TRUE(menu);
    EXPECT_LE(MenuText(menu, IDM_EXIT, MF_BYCOMMAND).size(), 4095u);
    DestroyMenu(menu);
    RunDialog(IDD_COLUMNS, [&](HWND d) { EXPECT_EQ(WindowText(GetDlgItem(d, IDOK)).size(), 4095u); });
    DeleteFileA(path.c_str());
    InitLanguage();
    ResetUiStringCache();
}

namespace {

struct TemplateTest : LanguageTest {
    std::string WriteTemplate() {
        WriteLanguageTemplate();
        EXPECT_FALSE(LanguageFileInUse());
        return ReadBytes(path);
    }
};

}  // namespace

TEST_F(TemplateTest, HoldsEveryTextButTheCrashReportAndIsStableWhenRunAgain) {
    DeleteFileA(path.c_str());
    const std::string first = WriteTemplate();
    const Ini ini = ParseIni(first);
    EXPECT_EQ(ini.count("dialog_107"), 0u);
    for (const char* section :
         {"general", "menu_102", "menu_104", "dialog_105", "dialog_109", "dialog_112", "dialog_1096", "strings"}) {
        EXPECT_EQ(ini.count(section), 1u) << section;
    }
    EXPECT_EQ(ini.at("general").at("TranslatorName"), "");
    EXPECT_EQ(ini.at("general").at("TranslatorURL"), "");
    EXPECT_EQ(ini.at("general").count("rtl"), 0u);
    const auto& menu = ini.at("menu_102");
    for (const char* key : {"70001", "70002", "70003", "70004", "40001", "40030"})
        EXPECT_EQ(menu.count(key), 1u) << key;
    EXPECT_EQ(menu.at("40001").find('\t'), std::string::npos);
    EXPECT_EQ(menu.at("40002"), kExit);
    EXPECT_EQ(ini.at("menu_104").count("70001"), 0u);  // popups without titles
    EXPECT_EQ(ini.at("dialog_1096").at("2"), kCancel);
    EXPECT_EQ(ini.at("dialog_112").count("caption"), 0u);  // empty in the template
    EXPECT_EQ(ini.at("dialog_112").count("1002"), 0u);
    EXPECT_EQ(ini.at("strings").count("4"), 1u);
    EXPECT_EQ(ini.at("strings").count("0"), 0u);
    // The file starts with the general section, as the writer created it.
    EXPECT_EQ(first.rfind("[general]\r\nTranslatorName=\r\nTranslatorURL=\r\n[menu_", 0), 0u);

    EXPECT_EQ(WriteTemplate(), first);
}

TEST_F(TemplateTest, KeepsTranslationsAndAddsOnlyWhatIsMissing) {
    DeleteFileA(path.c_str());
    std::string text = WriteTemplate();
    // A translator fills some values and a key goes missing.
    const std::string exitLine = std::string("40002=") + kExit + "\r\n";
    ASSERT_NE(text.find(exitLine), std::string::npos);
    text.replace(text.find(exitLine), exitLine.size(), "40002=Exit\r\n");
    text.replace(text.find("TranslatorName=\r\n"), 17, "TranslatorName=Jane\r\n");
    const std::string cancelLine = std::string("2=") + kCancel + "\r\n";
    const size_t columns = text.find("[dialog_1096]");
    text.erase(text.find(cancelLine, columns), cancelLine.size());
    WriteBytes(path, text);
    const Ini after = ParseIni(WriteTemplate());
    EXPECT_EQ(after.at("menu_102").at("40002"), "Exit");
    EXPECT_EQ(after.at("general").at("TranslatorName"), "Jane");
    EXPECT_EQ(after.at("dialog_1096").at("2"), kCancel);
}

TEST_F(TemplateTest, TheEnglishFileCoversEveryKeyAndKeepsEveryFormat) {
    DeleteFileA(path.c_str());
    const Ini templ = ParseIni(WriteTemplate());
    const std::string englishBytes = ReadBytes(std::string(OL_TEST_DATA_DIR) + "/../../translations/Ownerlens_lng.ini");
    ASSERT_FALSE(englishBytes.empty());
    const Ini english = ParseIni(englishBytes);
    for (const auto& section : templ) {
        ASSERT_EQ(english.count(section.first), 1u) << section.first;
        const auto& translated = english.at(section.first);
        for (const auto& key : section.second) {
            ASSERT_EQ(translated.count(key.first), 1u) << section.first << "/" << key.first;
            if (section.first != "general") {
                EXPECT_FALSE(translated.at(key.first).empty()) << key.first;
            }
        }
        for (const auto& key : translated) {
            EXPECT_EQ(section.second.count(key.first), 1u) << "stale key " << section.first << "/" << key.first;
        }
    }
    EXPECT_EQ(english.at("general").at("TranslatorName"), "");
    EXPECT_EQ(english.at("general").count("charset") ? english.at("general").at("charset") : "", "");
    for (const auto& entry : english.at("strings")) {
        char builtin[4096] = {};
        LoadStringA(AppInstance(), static_cast<UINT>(std::stoi(entry.first)), builtin, sizeof builtin);
        EXPECT_TRUE(SameConversions(builtin, entry.second.c_str())) << entry.first << "=" << entry.second;
    }
    for (const auto& section : english) {
        for (const auto& key : section.second) {
            for (unsigned char c : key.second) {
                EXPECT_LT(c, 0x80) << section.first << "/" << key.first;
            }
        }
    }
    // Written over the English file, the template changes nothing.
    WriteBytes(path, englishBytes);
    EXPECT_EQ(WriteTemplate(), englishBytes);
}
