// The language file's path, its general section, keeping a translator's
// values, and the numbering of menu items.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "lang/language_file.h"
#include "tests_support/fake_profile_store.h"

TEST(LanguageFilePath, CutsAtTheLastDot) {
    EXPECT_EQ(LanguageFilePathFor("C:\\Tools\\Ownerlens.exe"), "C:\\Tools\\Ownerlens_lng.ini");
    EXPECT_EQ(LanguageFilePathFor("C:\\my.tools\\Ownerlens.v2.exe"), "C:\\my.tools\\Ownerlens.v2_lng.ini");
    EXPECT_EQ(LanguageFilePathFor("C:\\my.tools\\Ownerlens"), "C:\\my_lng.ini");
    EXPECT_EQ(LanguageFilePathFor("Ownerlens"), "Ownerlens_lng.ini");
    // 251 + 8 = 259 characters fit; one more would not.
    const std::string folder = "C:\\" + std::string(246, 'a') + "\\";
    EXPECT_EQ(LanguageFilePathFor((folder + "O.exe").c_str()).size(), 259u);
    EXPECT_EQ(LanguageFilePathFor((folder + "Ow.exe").c_str()), "");
}

TEST(LanguageFile, GeneralSectionWithItsBounds) {
    FakeProfileStore store;
    LanguageFile file(&store);
    EXPECT_EQ(file.ReadGeneral().rtl, 0);  // no file in use
    file.Open("C:\\x_lng.ini");
    store.Set("general", "rtl", "1");
    store.Set("general", "charset", std::string(100, 'c'));
    store.Set("general", "TranslatorName", std::string(100, 'n'));
    store.Set("general", "TranslatorURL", std::string(400, 'u'));
    LanguageGeneral general = file.ReadGeneral();
    EXPECT_EQ(general.rtl, 1);
    EXPECT_EQ(std::string(general.charset), std::string(63, 'c'));
    EXPECT_EQ(std::string(general.translatorName), std::string(63, 'n'));
    EXPECT_EQ(std::string(general.translatorUrl), std::string(255, 'u'));
    for (const char* value : {"2", "0", "-1", "", "yes"}) {
        store.Set("general", "rtl", value);
        EXPECT_EQ(file.ReadGeneral().rtl, 0) << value;
    }
}

TEST(LanguageFile, ReadsTheCurrentSectionAndTreatsEmptyAsAbsent) {
    FakeProfileStore store;
    LanguageFile file(&store);
    char value[kLanguageValueSize];
    store.Set("menu_102", "40001", "Save");
    file.SelectSection("menu", 102);
    EXPECT_FALSE(file.Read(40001, value, sizeof value));  // no file in use yet
    file.Open("C:\\x_lng.ini");
    EXPECT_TRUE(file.Read(40001, value, sizeof value));
    EXPECT_STREQ(value, "Save");
    store.Set("menu_102", "40002", "");
    EXPECT_FALSE(file.Read(40002, value, sizeof value));
    EXPECT_STREQ(value, "");
    file.SelectSection("dialog", 112);
    EXPECT_STREQ(file.Section(), "dialog_112");
    EXPECT_FALSE(file.Read(40001, value, sizeof value));
}

TEST(LanguageFile, WriteIfMissingKeepsTranslations) {
    FakeProfileStore store;
    LanguageFile file(&store);
    file.Open("C:\\x_lng.ini");
    file.SelectSection("strings");
    store.Set("strings", "4", "%d items");
    store.Set("strings", "5", "");
    file.WriteIfMissing(4, "builtin 4");
    file.WriteIfMissing(5, "builtin 5");
    file.WriteIfMissing(6, "builtin 6");
    EXPECT_EQ(store.Get("strings", "4"), "%d items");
    EXPECT_EQ(store.Get("strings", "5"), "builtin 5");
    EXPECT_EQ(store.Get("strings", "6"), "builtin 6");
    file.Close();
    file.WriteIfMissing(7, "nothing without a file");
    EXPECT_FALSE(store.Has("strings", "7"));
}

namespace {

// A menu tree for the numbering walk.
struct Node {
    std::string text;
    uint32_t id = 0;
    std::vector<Node> items;
    bool popup = false;
};

Node Item(const char* text, uint32_t id) {
    return Node{text, id, {}, false};
}
Node Popup(const char* text, std::vector<Node> items) {
    return Node{text, 0, std::move(items), true};
}

struct TreeSource : MenuSource {
    std::vector<std::pair<int, std::string>> visited;
    int ItemCount(void* menu) override { return static_cast<int>(static_cast<Node*>(menu)->items.size()); }
    void ReadItem(void* menu, int position, std::string* text, uint32_t* id, void** submenu) override {
        Node& item = static_cast<Node*>(menu)->items[static_cast<size_t>(position)];
        *text = item.text;
        *id = item.id;
        *submenu = item.popup ? &item : nullptr;
    }
    void Visit(void*, int, int key, const std::string& text) override { visited.emplace_back(key, text); }
};

}  // namespace

TEST(MenuKeys, TopLevelSubmenusNestedSubmenusAndCommands) {
    Node bar = Popup("", {Popup("File", {Item("Save\tCtrl+S", 40001), Item("", 0),
                                         Popup("Export", {Item("Text", 50001), Popup("More", {Item("X", 50002)})})}),
                          Popup("Edit", {Item("Find", 40014)}), Popup("View", {Popup("", {Item("Y", 50003)})}),
                          Popup("Help", {Popup("Links", {})})});
    TreeSource source;
    MenuKeyNumbering numbering;
    WalkMenu(source, &bar, true, numbering);
    const std::vector<std::pair<int, std::string>> expected = {
        {70001, "File"}, {40001, "Save\tCtrl+S"}, {71001, "Export"}, {50001, "Text"}, {71002, "More"},
        {50002, "X"},    {70002, "Edit"},         {40014, "Find"},   {70003, "View"}, {50003, "Y"},
        {70004, "Help"}, {71003, "Links"}};
    EXPECT_EQ(source.visited, expected);
}

TEST(MenuKeys, ContextMenusWithoutTitlesNumberOnlyTheirItems) {
    Node menu = Popup(
        "", {Popup("", {Item("Copy", 40008), Item("", 0), Item("Save", 40001)}), Popup("", {Item("Copy", 40008)})});
    TreeSource source;
    MenuKeyNumbering numbering;
    WalkMenu(source, &menu, true, numbering);
    const std::vector<std::pair<int, std::string>> expected = {{40008, "Copy"}, {40001, "Save"}, {40008, "Copy"}};
    EXPECT_EQ(source.visited, expected);
}

TEST(MenuKeys, AcceleratorTextIsKeptAndLeftOutOfTheTemplate) {
    EXPECT_EQ(TranslatedMenuText("Save selected", "\xB1\xA3\xB4\xE6\tCtrl+S"), "Save selected\tCtrl+S");
    EXPECT_EQ(TranslatedMenuText("Exit", "\xCD\xCB\xB3\xF6"), "Exit");
    EXPECT_EQ(TranslatedMenuText("A\tB", "x\ty\tz"), "A\tB\ty\tz");
    EXPECT_EQ(MenuTextWithoutAccelerator("Properties\tAlt+Enter"), "Properties");
    EXPECT_EQ(MenuTextWithoutAccelerator("Exit"), "Exit");
}
