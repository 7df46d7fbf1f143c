// The language file, menu keys, and the string cache that takes a translation only where it is a safe printf format.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "lang/format_conversions.h"
#include "lang/language_file.h"
#include "lang/ui_strings.h"
#include "tests_support/fake_profile_store.h"
#include "../views/program_strings.h"

namespace {

TEST(LanguageFile, PathsSectionsAndValues) {
    EXPECT_EQ(LanguageFilePathFor("C:\\my.tools\\Ownerlens.v2.exe"), "C:\\my.tools\\Ownerlens.v2_lng.ini");
    EXPECT_EQ(LanguageFilePathFor("C:\\my.tools\\Ownerlens"), "C:\\my_lng.ini");
    EXPECT_EQ(LanguageFilePathFor(("C:\\" + std::string(246, 'a') + "\\Ow.exe").c_str()), "");  // 260 characters

    FakeProfileStore store;
    LanguageFile file(&store);
    char value[kLanguageValueSize];
    store.values = {{"general/rtl", "1"}, {"menu_102/40001", "Save"}, {"menu_102/40002", ""}};
    file.SelectSection("menu", 102);
    EXPECT_FALSE(file.Read(40001, value, sizeof value));  // no file in use
    file.WriteIfMissing(7, "nothing without a file");
    EXPECT_EQ(file.ReadGeneral().rtl, 0);
    file.Open("C:\\x_lng.ini");
    file.SelectSection("menu", 102);
    EXPECT_TRUE(file.Read(40001, value, sizeof value) && std::string(value) == "Save");
    EXPECT_FALSE(file.Read(40002, value, sizeof value));  // empty counts as absent
    file.WriteIfMissing(40001, "builtin");                // a translation is kept
    file.WriteIfMissing(40002, "builtin 2");
    EXPECT_EQ(store.values["menu_102/40001"] + "|" + store.values["menu_102/40002"] + "|" +
                  std::to_string(store.values.count("menu_102/7")),
              "Save|builtin 2|0");
    store.values["general/charset"] = std::string(100, 'c');
    store.values["general/TranslatorURL"] = std::string(400, 'u');
    const LanguageGeneral general = file.ReadGeneral();
    EXPECT_EQ(std::to_string(general.rtl) + general.charset + general.translatorUrl,
              "1" + std::string(63, 'c') + std::string(255, 'u'));
    store.values["general/rtl"] = "2";
    EXPECT_EQ(file.ReadGeneral().rtl, 0);
}

// A menu: a node with an id is a command, without one a submenu.
struct Node : MenuSource {
    std::string text;
    uint32_t id;
    std::vector<Node> items;
    std::string visited;
    Node(std::string t, uint32_t i, std::vector<Node> n = {}) : text(std::move(t)), id(i), items(std::move(n)) {}
    int ItemCount(void* menu) override { return static_cast<int>(static_cast<Node*>(menu)->items.size()); }
    void ReadItem(void* menu, int position, std::string* text, uint32_t* id, void** submenu) override {
        Node& item = static_cast<Node*>(menu)->items[static_cast<size_t>(position)];
        *text = item.text;
        *id = item.id;
        *submenu = item.id ? nullptr : &item;
    }
    void Visit(void*, int, int key, const std::string& text) override {
        visited += std::to_string(key) + "=" + text + " ";
    }
};

TEST(LanguageFile, MenuKeysAndTexts) {
    Node bar("", 0,
             {{"File", 0, {{"Save\tCtrl+S", 40001}, {"", 1}, {"Export", 0, {{"More", 0, {{"X", 50002}}}}}}},
              {"View", 0, {{"", 0, {{"Y", 50003}}}}},  // a submenu without a title numbers only its items
              {"Help", 0, {{"Links", 0}}}});
    MenuKeyNumbering numbering;
    WalkMenu(bar, &bar, true, numbering);
    EXPECT_EQ(bar.visited,
              "70001=File 40001=Save\tCtrl+S 71001=Export 71002=More 50002=X 70002=View 50003=Y 70003=Help "
              "71003=Links ");
    EXPECT_EQ(TranslatedMenuText("Save", "\xB1\xA3\tCtrl+S") + TranslatedMenuText("A\tB", "x\ty\tz") +
                  TranslatedMenuText("Exit", "\xCD\xCB") + MenuTextWithoutAccelerator("Properties\tAlt+Enter"),
              "Save\tCtrl+SA\tB\ty\tzExitProperties");
}

// The program's texts and a language file's, in place of the real ones.
class UiStringsTest : public ::testing::Test {
  protected:
    TestUiStrings strings;
    std::map<int, std::string>&builtin = strings.builtin, &translated = strings.translated;
    UiStringsTest() {
        builtin = {{3, "\xB9\xFA"}, {4, "\xB9\xB2 %d \xCF\xEE"}, {5, ", %d"}, {6, "y"}};
        translated = {{2, ""},         {3, "Country"},   {4, "%d items"}, {5, ", %s chosen"},
                      {6, "Owner %s"}, {7, "100% sure"}, {8, "extra"},    {9, "extra %d"}};
    }
};

TEST_F(UiStringsTest, FormatTranslationsWhereTheyAskForTheSameArgumentsOthersAsTheyAre) {
    builtin.insert({{2, "%d"}, {7, "x"}});  // 4 and 5 are formats (the counts); the others are shown as they are
    const char* expected[] = {"", "%d", "Country", "%d items", ", %d", "Owner %s", "100% sure", "extra", "extra %d"};
    for (uint32_t id = 1; id <= 9; ++id) EXPECT_STREQ(GetUiString(id), expected[id - 1]) << id;
    const char* own = GetUiString(3 | UISTR_BUILTIN);  // the program's text, whatever the file says
    EXPECT_STREQ(own, "\xB9\xFA");
    builtin[3] = translated[3] = "changed";  // cached for the run
    EXPECT_EQ(GetUiString(3 | UISTR_BUILTIN), own);
    EXPECT_STREQ(GetUiString(3), "Country");
    builtin[0] = "late";  // what was not found is not cached
    EXPECT_STREQ(GetUiString(0), "late");
    SetUiStringSource(nullptr);
    EXPECT_STREQ(GetUiString(42), "");
}

TEST_F(UiStringsTest, AFullCacheGivesEmptyTextsButKeepsWhatItHolds) {
    // Eight texts of 4000 bytes use 32008 of the 32768 pool bytes; a ninth does not fit, 750 more do.
    for (int id = 31; id <= 40; ++id) builtin[id] = std::string(id == 40 ? 750 : 4000, static_cast<char>('a' + id % 8));
    for (int id = 31; id <= 38; ++id) EXPECT_EQ(std::string(GetUiString(id)).size(), 4000u);
    EXPECT_EQ(std::string(GetUiString(39)) + "|" + std::to_string(std::string(GetUiString(40)).size()), "|750");
    translated[6] = std::string(4095, 'O');  // too long: the program's own text
    EXPECT_STREQ(GetUiString(6), "y");

    ResetUiStringCache();
    for (int id = 1000; id < 1256; ++id) builtin[id] = "t" + std::to_string(id);  // 256 entries
    for (int id = 1000; id < 1256; ++id) ASSERT_EQ(GetUiString(id), builtin[id]);
    EXPECT_STREQ(GetUiString(6), "");
}

TEST(FormatConversions, ArgumentsAskedFor) {
    std::vector<std::string> list;
    std::string joined;
    // Flags, widths and precisions in digits take no argument; a blank is a flag: "50% off" asks for a number.
    const char text[] =
        "100%% sure %-08.3ld|%+5s|% x %*d %.*s %*.*f %8.8X %I64u %I32d %llx %hhu %zu %lc \xB9\xB2 %d 50% off";
    EXPECT_TRUE(ReadConversions(text, &list));
    for (const std::string& conversion : list) joined += conversion + " ";
    EXPECT_EQ(joined, "ld s x *d .*s *.*f X I64u I32d llx hhu zu lc d o ");
    for (const char* refused : {"%n", "%d%hn", "100%", "%5", "%1$d", "%.2$d", "%y"})
        EXPECT_FALSE(ReadConversions(refused, &list)) << refused;
    EXPECT_TRUE(SameConversions("\xB9\xB2 %d", "%5d items") && SameConversions("text", "other text"));
    for (const char* other : {"%s", "%ld", "%d %d", "none", "%*d", "%d%n"}) EXPECT_FALSE(SameConversions("%d", other));
    EXPECT_FALSE(SameConversions("%d of %s", "%s: %d"));
}

}  // namespace
