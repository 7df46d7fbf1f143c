#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> Tokens(const char* raw) {
    CommandLine c;
    c.Build(raw);
    std::vector<std::string> out;
    for (int i = 0; i < c.Count(); ++i) out.emplace_back(c.Token(i));
    return out;
}
using V = std::vector<std::string>;
}  // namespace

TEST(CommandLine, Tokenizing) {
    EXPECT_TRUE(Tokens("").empty());
    EXPECT_TRUE(Tokens("    ").empty());
    EXPECT_EQ(Tokens("  /ip   1.2.3.4 "), (V{"/ip", "1.2.3.4"}));
    // A quoted text with commas and blanks is one token, quotes removed.
    EXPECT_EQ(Tokens("/ip \"198.51.100.1, 203.0.113.9 host\""), (V{"/ip", "198.51.100.1, 203.0.113.9 host"}));
    // Empty quotes between blanks give an empty token; at the end nothing.
    EXPECT_EQ(Tokens("a \"\" b"), (V{"a", "", "b"}));
    EXPECT_EQ(Tokens("a \"\""), (V{"a"}));
    // Blanks right after an opening quote are dropped.
    EXPECT_EQ(Tokens("\"   x y\""), (V{"x y"}));
    // Quotes inside a token protect only the blanks between them.
    EXPECT_EQ(Tokens("ab\"c d\"ef gh"), (V{"abc def", "gh"}));
    EXPECT_EQ(Tokens("\"unterminated text"), (V{"unterminated text"}));
}

TEST(CommandLine, SwitchesAndValues) {
    CommandLine c;
    c.Build("/NODLGSTART /IpFile list.txt /ip");
    EXPECT_EQ(c.Find("/nodlgstart"), 0);
    EXPECT_EQ(c.Find("/ipfile"), 1);
    EXPECT_STREQ(c.ValueOf("/ipfile"), "list.txt");
    // A switch as the last token takes the empty string.
    EXPECT_STREQ(c.ValueOf("/ip"), "");
    EXPECT_EQ(c.Find("-nodlgstart"), -1);
    EXPECT_STREQ(c.Token(99), "");
    EXPECT_STREQ(c.Token(-1), "");
}
