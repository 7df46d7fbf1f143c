// The string cache: every text once per run, translations where they are
// safe, the program's own text otherwise.
#include <gtest/gtest.h>

#include <string>

#include "lang/ui_strings.h"
#include "views/program_strings.h"

namespace {

const char kOwnerName[] = "\xCB\xF9\xD3\xD0\xD5\xDF\xC3\xFB\xB3\xC6";  // 所有者名称
const char kItemCount[] = "\xB9\xB2 %d \xCF\xEE";                      // 共 %d 项

struct UiStringsTest : ::testing::Test {
    TestUiStrings strings;
};

}  // namespace

TEST_F(UiStringsTest, BuiltinTextIsCachedAndKeepsItsPointer) {
    const char* first = GetUiString(1004);
    EXPECT_STREQ(first, kOwnerName);
    strings.builtin[1004] = "changed";  // a cached text is fixed for the run
    EXPECT_EQ(GetUiString(1004), first);
}

TEST_F(UiStringsTest, EmptyTranslationFallsBackAndBuiltinBitIgnoresTheFile) {
    strings.translated[1004] = "";
    EXPECT_STREQ(GetUiString(1004), kOwnerName);
    strings.translated[1003] = "Country";
    EXPECT_STREQ(GetUiString(1003), "Country");
    const char* raw = GetUiString(1003 | UISTR_BUILTIN);
    EXPECT_STREQ(raw, "\xB9\xFA\xBC\xD2");  // 国家
    EXPECT_NE(raw, GetUiString(1003));
    EXPECT_EQ(raw, GetUiString(1003 | UISTR_BUILTIN));
}

TEST_F(UiStringsTest, UnknownIdsAreEmptyAndNotCached) {
    EXPECT_STREQ(GetUiString(4242), "");
    strings.builtin[4242] = "late";
    EXPECT_STREQ(GetUiString(4242), "late");
}

TEST_F(UiStringsTest, AFullEntryTableGivesEmptyTextsForNewIdsOnly) {
    for (int id = 20000; id < 20256; ++id) strings.builtin[id] = "t" + std::to_string(id);
    const char* first = GetUiString(20000);
    for (int id = 20001; id < 20256; ++id)
        ASSERT_STREQ(GetUiString(static_cast<uint32_t>(id)), ("t" + std::to_string(id)).c_str());
    EXPECT_STREQ(GetUiString(1004), "");  // 257th id
    EXPECT_EQ(GetUiString(20000), first);
    EXPECT_STREQ(first, "t20000");
}

TEST_F(UiStringsTest, AFullPoolGivesEmptyTexts) {
    // Eight texts of 4000 bytes use 32008 of the 32768 pool bytes.
    for (int id = 1; id <= 9; ++id) strings.builtin[30000 + id] = std::string(4000, static_cast<char>('a' + id));
    for (int id = 1; id <= 8; ++id) EXPECT_EQ(std::string(GetUiString(30000 + id)).size(), 4000u);
    EXPECT_STREQ(GetUiString(30009), "");
    // What still fits is still taken: 32008 + 750 + 2 < 32768.
    strings.builtin[30010] = std::string(750, 'x');
    EXPECT_EQ(std::string(GetUiString(30010)).size(), 750u);
}

TEST_F(UiStringsTest, ATranslationTooLongForThePoolFallsBackToTheBuiltinText) {
    for (int id = 1; id <= 8; ++id) strings.builtin[30000 + id] = std::string(4000, 'a');
    for (int id = 1; id <= 8; ++id) GetUiString(30000 + id);
    strings.translated[1004] = std::string(4095, 'O');
    EXPECT_STREQ(GetUiString(1004), kOwnerName);
}

TEST_F(UiStringsTest, FormatStringsKeepTheirConversions) {
    strings.builtin[4] = kItemCount;
    strings.builtin[5] = ", \xD2\xD1\xD1\xA1\xB6\xA8 %d \xB8\xF6";  // , 已选定 %d 个
    strings.builtin[14] = "\xD6\xD8\xD0\xC2\xD5\xD2\xBB\xD8 Whois \xCA\xFD\xBE\xDD... %d";
    strings.translated[4] = "%d items in all";
    strings.translated[5] = ", %s selected";  // would read a pointer from an int
    strings.translated[14] = "Retrieving %d%n";
    EXPECT_STREQ(GetUiString(4), "%d items in all");
    EXPECT_STREQ(GetUiString(5), strings.builtin[5].c_str());
    EXPECT_STREQ(GetUiString(14), strings.builtin[14].c_str());
    // A text without conversions may not gain any.
    strings.translated[1004] = "Owner %s";
    EXPECT_STREQ(GetUiString(1004), kOwnerName);
    strings.translated[1003] = "100%% sure";
    EXPECT_STREQ(GetUiString(1003), "100%% sure");
}

TEST_F(UiStringsTest, TranslationsOfIdsWithoutBuiltinText) {
    strings.translated[7777] = "extra";
    strings.translated[7778] = "extra %d";
    EXPECT_STREQ(GetUiString(7777), "extra");
    EXPECT_STREQ(GetUiString(7778), "");
}

TEST(UiStringsWithoutSource, AreEmpty) {
    ResetUiStringCache();
    SetUiStringSource(nullptr);
    EXPECT_STREQ(GetUiString(1004), "");
    ResetUiStringCache();
}
