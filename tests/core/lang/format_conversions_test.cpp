// Reading the printf conversions of texts that may serve as formats.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lang/format_conversions.h"

namespace {

std::vector<std::string> Conversions(const char* text) {
    std::vector<std::string> list;
    EXPECT_TRUE(ReadConversions(text, &list)) << text;
    return list;
}

bool Usable(const char* text) {
    std::vector<std::string> list;
    return ReadConversions(text, &list);
}

}  // namespace

TEST(FormatConversions, KeepsWhatTakesArgumentsAndDropsTheRest) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Conversions("plain text"), V{});
    EXPECT_EQ(Conversions("100%% sure"), V{});
    EXPECT_EQ(Conversions("%d"), V{"d"});
    EXPECT_EQ(Conversions("%-08.3ld|%+5s|% x"), (V{"ld", "s", "x"}));
    EXPECT_EQ(Conversions("%*d %.*s %*.*f"), (V{"*d", ".*s", "*.*f"}));
    EXPECT_EQ(Conversions("%8.8X %I64u %llx %hhu %zu %lc"), (V{"X", "I64u", "llx", "hhu", "zu", "lc"}));
    EXPECT_EQ(Conversions("\xB9\xB2 %d \xCF\xEE"), V{"d"});
    // A blank is a flag: "% o" asks for an unsigned number.
    EXPECT_EQ(Conversions("50% off"), V{"o"});
}

TEST(FormatConversions, RefusesWhatPrintfCannotTakeSafely) {
    EXPECT_FALSE(Usable("%n"));
    EXPECT_FALSE(Usable("%d%hn"));
    EXPECT_FALSE(Usable("100%"));
    EXPECT_FALSE(Usable("%5"));
    EXPECT_FALSE(Usable("%1$d"));
    EXPECT_FALSE(Usable("%.2$d"));
    EXPECT_FALSE(Usable("%y"));
}

TEST(FormatConversions, SameConversionsInTheSameOrder) {
    EXPECT_TRUE(SameConversions("\xB9\xB2 %d \xCF\xEE", "%d items"));
    EXPECT_TRUE(SameConversions("\xB9\xB2 %d \xCF\xEE", "%5d items"));
    EXPECT_TRUE(SameConversions("text", "other text"));
    EXPECT_FALSE(SameConversions("%d", "%s"));
    EXPECT_FALSE(SameConversions("%d", "%ld"));
    EXPECT_FALSE(SameConversions("%d", "%d %d"));
    EXPECT_FALSE(SameConversions("%d", "none"));
    EXPECT_FALSE(SameConversions("%d of %s", "%s: %d"));
    EXPECT_FALSE(SameConversions("%d", "%*d"));
    EXPECT_FALSE(SameConversions("text", "text %"));
    EXPECT_FALSE(SameConversions("text", "50% off"));
    EXPECT_FALSE(SameConversions("%d", "%d%n"));
}
