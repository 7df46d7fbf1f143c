// The language file's path, its sections, keeping a translator's values, and
// the numbering of menu items.
#include "lang/language_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests_support/fake_profile_store.h"

TEST(LanguageFile, PathCutAtTheLastDot) {
    EXPECT_EQ(LanguageFilePathFor("C:\\my.tools\\Ownerlens.v2.exe"), "C:\\my.tools\\Ownerlens.v2_lng.ini");
    EXPECT_EQ(LanguageFilePathFor("C:\\my.tools\\Ownerlens"), "C:\\my_lng.ini");
    EXPECT_EQ(LanguageFilePathFor("Ownerlens"), "Ownerlens_lng.ini");
    const std::string folder = "C:\\" + std::string(246, 'a') + "\\";  // 259 characters fit, 260 do not
    EXPECT_EQ(LanguageFilePathFor((folder + "O.exe").c_str()).size(), 259u);
    EXPECT_EQ(LanguageFilePathFor((folder + "Ow.exe").c_str()), "");
}

TEST(LanguageFile, SectionsValuesAndBounds) {
    FakeProfileStore store;
    LanguageFile file(&store);
    char value[kLanguageValueSize];
    store.Set("general", "rtl", "1");
    store.Set("menu_102", "40001", "Save");
    file.SelectSection("menu", 102);
    EXPECT_FALSE(file.Read(40001, value, sizeof value));  // no file in use
    EXPECT_EQ(file.ReadGeneral().rtl, 0);
    file.WriteIfMissing(7, "nothing without a file");
    EXPECT_FALSE(store.Has("general", "7"));

    file.Open("C:\\x_lng.ini");
    file.SelectSection("menu", 102);
    EXPECT_TRUE(file.Read(40001, value, sizeof value));
    EXPECT_STREQ(value, "Save");
    store.Set("menu_102", "40002", "");  // empty counts as absent
    EXPECT_FALSE(file.Read(40002, value, sizeof value));
    file.WriteIfMissing(40001, "builtin");
    file.WriteIfMissing(40002, "builtin 2");
    EXPECT_EQ(store.Get("menu_102", "40001"), "Save");  // a translation is kept
    EXPECT_EQ(store.Get("menu_102", "40002"), "builtin 2");

    store.Set("general", "charset", std::string(100, 'c'));
    store.Set("general", "TranslatorName", std::string(100, 'n'));
    store.Set("general", "TranslatorURL", std::string(400, 'u'));
    const LanguageGeneral general = file.ReadGeneral();
    EXPECT_EQ(general.rtl, 1);
    EXPECT_EQ(std::string(general.charset) + general.translatorName + general.translatorUrl,
              std::string(63, 'c') + std::string(63, 'n') + std::string(255, 'u'));
    for (const char* rtl : {"2", "0", "-1", "", "yes"}) {
        store.Set("general", "rtl", rtl);
        EXPECT_EQ(file.ReadGeneral().rtl, 0) << rtl;
    }
}

namespace {

struct Node {
    std::string text;
    uint32_t id;
    std::vector<Node> items;
};

// Walks a tree of Nodes; a node with items, even none, is a submenu.
struct TreeSource : MenuSource {
    std::string visited;
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

}  // namespace

TEST(LanguageFile, MenuKeys) {
    Node bar = {"",
                0,
                {{"File",
                  0,
                  {{"Save\tCtrl+S", 40001, {}},
                   {"", 1, {}},
                   {"Export", 0, {{"Text", 50001, {}}, {"More", 0, {{"X", 50002, {}}}}}}}},
                 {"Edit", 0, {{"Find", 40014, {}}}},
                 {"View", 0, {{"", 0, {{"Y", 50003, {}}}}}},
                 {"Help", 0, {{"Links", 0, {}}}}}};
    Node context = {
        "", 0, {{"", 0, {{"Copy", 40008, {}}, {"", 1, {}}, {"Save", 40001, {}}}}, {"", 0, {{"Copy", 40008, {}}}}}};
    TreeSource source;
    MenuKeyNumbering numbering;
    WalkMenu(source, &bar, true, numbering);
    EXPECT_EQ(
        source.visited,
        "70001=File 40001=Save\tCtrl+S 71001=Export 50001=Text 71002=More 50002=X 70002=Edit 40014=Find 70003=View "
        "50003=Y 70004=Help 71003=Links ");
    source.visited.clear();
    WalkMenu(source, &context, true, numbering);  // context menus without titles: only their items
    EXPECT_EQ(source.visited, "40008=Copy 40001=Save 40008=Copy ");

    EXPECT_EQ(TranslatedMenuText("Save selected", "\xB1\xA3\xB4\xE6\tCtrl+S"), "Save selected\tCtrl+S");
    EXPECT_EQ(TranslatedMenuText("Exit", "\xCD\xCB\xB3\xF6"), "Exit");
    EXPECT_EQ(TranslatedMenuText("A\tB", "x\ty\tz"), "A\tB\ty\tz");
    EXPECT_EQ(MenuTextWithoutAccelerator("Properties\tAlt+Enter") + MenuTextWithoutAccelerator("Exit"),
              "PropertiesExit");
}
