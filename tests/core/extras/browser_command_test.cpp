#include <gtest/gtest.h>

#include <string>

#include "base/browser_command.h"

namespace {
std::string PathOf(const char* command) {
    std::string path;
    return BrowserPathFromCommand(command, &path) ? path : "<none>";
}
}  // namespace

TEST(BrowserCommand, QuotedPathIsTheTextInsideTheQuotes) {
    EXPECT_EQ(PathOf("\"C:\\Program Files\\Web\\web.exe\" -osint -url \"%1\""), "C:\\Program Files\\Web\\web.exe");
    EXPECT_EQ(PathOf("\"C:\\web.exe\""), "C:\\web.exe");
    EXPECT_EQ(PathOf("\"\" %1"), "");
    EXPECT_EQ(PathOf("\"C:\\Program Files\\web.exe -url %1"), "<none>");
}

TEST(BrowserCommand, UnquotedPathEndsAtTheFirstBlankAfterTheLastBackslash) {
    EXPECT_EQ(PathOf("C:\\Web\\web.exe -nohome %1"), "C:\\Web\\web.exe");
    EXPECT_EQ(PathOf("C:\\Program Files\\Web\\web.exe %1"), "C:\\Program Files\\Web\\web.exe");
    EXPECT_EQ(PathOf("C:\\Web\\web.exe"), "C:\\Web\\web.exe");
    EXPECT_EQ(PathOf("web.exe %1"), "<none>");
    EXPECT_EQ(PathOf(""), "<none>");
}
