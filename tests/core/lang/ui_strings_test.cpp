// The string cache: every text once per run, translations only where they
// are safe as printf formats, the program's own text otherwise.
#include "lang/ui_strings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "lang/format_conversions.h"

namespace {

class UiStringsTest : public ::testing::Test, public UiStringSource {
  protected:
    UiStringsTest() {
        ResetUiStringCache();
        SetUiStringSource(this);
    }
    ~UiStringsTest() override {
        SetUiStringSource(nullptr);
        ResetUiStringCache();
    }
    bool BuiltinText(int id, char* out, int outSize) override { return Find(builtin, id, out, outSize); }
    bool TranslatedText(int id, char* out, int outSize) override { return Find(translated, id, out, outSize); }
    static bool Find(const std::map<int, std::string>& texts, int id, char* out, int outSize) {
        const auto found = texts.find(id);
        if (found != texts.end()) std::snprintf(out, static_cast<size_t>(outSize), "%s", found->second.c_str());
        return found != texts.end();
    }
    std::map<int, std::string> builtin = {{1003, "\xB9\xFA\xBC\xD2"}, {1004, "\xCB\xF9\xD3\xD0"}}, translated;
};

TEST_F(UiStringsTest, TextsAreCachedForTheRun) {
    const char* first = GetUiString(1004);
    EXPECT_STREQ(first, "\xCB\xF9\xD3\xD0");
    builtin[1004] = "changed";
    EXPECT_EQ(GetUiString(1004), first);
    EXPECT_STREQ(GetUiString(4242), "");  // unknown ids are not cached
    builtin[4242] = "late";
    EXPECT_STREQ(GetUiString(4242), "late");

    translated[1003] = "Country";
    EXPECT_STREQ(GetUiString(1003), "Country");
    const char* own = GetUiString(1003 | UISTR_BUILTIN);  // the program's text, whatever the file says
    EXPECT_STREQ(own, "\xB9\xFA\xBC\xD2");
    EXPECT_EQ(GetUiString(1003 | UISTR_BUILTIN), own);
    EXPECT_STREQ(GetUiString(1003), "Country");
    translated[2] = "";  // an empty translation is none
    builtin[2] = "two";
    EXPECT_STREQ(GetUiString(2), "two");
}

TEST_F(UiStringsTest, TranslationsKeepTheConversionsOfTheProgramsText) {
    builtin = {{4, "\xB9\xB2 %d \xCF\xEE"}, {5, ", %d"}, {14, "\xD6\xD8 %d"}, {1003, "x"}, {1004, "y"}};
    translated = {{4, "%d items in all"}, {5, ", %s selected"}, {14, "Retrieving %d%n"}, {1003, "100%% sure"},
                  {1004, "Owner %s"},     {7777, "extra"},      {7778, "extra %d"}};
    const char* expected[][2] = {
        {"4", "%d items in all"}, {"5", ", %d"}, {"14", "\xD6\xD8 %d"}, {"1003", "100%% sure"}, {"1004", "y"},
        {"7777", "extra"},        {"7778", ""}};
    for (const auto& e : expected) EXPECT_STREQ(GetUiString(static_cast<uint32_t>(std::stoi(e[0]))), e[1]) << e[0];
}

TEST_F(UiStringsTest, AFullCacheGivesEmptyTextsButKeepsWhatItHolds) {
    // Eight texts of 4000 bytes use 32008 of the 32768 pool bytes.
    for (int id = 1; id <= 8; ++id) builtin[30000 + id] = std::string(4000, static_cast<char>('a' + id));
    for (int id = 1; id <= 8; ++id) EXPECT_EQ(std::string(GetUiString(30000 + id)).size(), 4000u);
    builtin[30009] = std::string(4000, 'z');
    EXPECT_STREQ(GetUiString(30009), "");
    builtin[30010] = std::string(750, 'x');  // 32008 + 750 + 2 < 32768
    EXPECT_EQ(std::string(GetUiString(30010)).size(), 750u);
    translated[1004] = std::string(4095, 'O');  // too long: the program's own text
    EXPECT_STREQ(GetUiString(1004), "\xCB\xF9\xD3\xD0");

    ResetUiStringCache();
    for (int id = 20000; id < 20256; ++id) builtin[id] = "t" + std::to_string(id);  // 256 entries
    for (int id = 20000; id < 20256; ++id) ASSERT_STREQ(GetUiString(id), builtin[id].c_str());
    EXPECT_STREQ(GetUiString(1003), "");
    EXPECT_STREQ(GetUiString(20000), "t20000");
}

TEST(UiStringsWithoutSource, AreEmpty) {
    ResetUiStringCache();
    EXPECT_STREQ(GetUiString(1004), "");
}

TEST(FormatConversions, ArgumentsAskedFor) {
    const struct {
        const char* text;
        const char* conversions;  // "refused": no usable format
    } cases[] = {{"plain text", ""},
                 {"100%% sure", ""},
                 {"%-08.3ld|%+5s|% x", "ld s x"},
                 {"%*d %.*s %*.*f", "*d .*s *.*f"},
                 {"%8.8X %I64u %I32d %llx %hhu %zu %lc", "X I64u I32d llx hhu zu lc"},
                 {"\xB9\xB2 %d \xCF\xEE", "d"},
                 {"50% off", "o"},  // a blank is a flag
                 {"%n", "refused"},
                 {"%d%hn", "refused"},
                 {"100%", "refused"},
                 {"%5", "refused"},
                 {"%1$d", "refused"},
                 {"%.2$d", "refused"},
                 {"%y", "refused"}};
    for (const auto& c : cases) {
        std::vector<std::string> list;
        const bool usable = ReadConversions(c.text, &list);
        std::string joined;
        for (const std::string& conversion : list) joined += (joined.empty() ? "" : " ") + conversion;
        if (!usable) joined = "refused";
        EXPECT_EQ(joined, c.conversions) << c.text;
    }
    EXPECT_TRUE(SameConversions("\xB9\xB2 %d \xCF\xEE", "%5d items"));
    EXPECT_TRUE(SameConversions("text", "other text"));
    for (const char* other : {"%s", "%ld", "%d %d", "none", "%*d", "%d%n"}) EXPECT_FALSE(SameConversions("%d", other));
    EXPECT_FALSE(SameConversions("%d of %s", "%s: %d"));
    EXPECT_FALSE(SameConversions("text", "50% off"));
}

}  // namespace
