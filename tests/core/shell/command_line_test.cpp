// The command line: its tokens, switches, and what asks for a run without a window.
#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/headless_export.h"

TEST(CommandLine, Tokens) {
    const struct {
        const char* raw;
        const char* tokens;  // each followed by '|'
    } cases[] = {{"", ""},
                 {"    ", ""},
                 {"  /ip   1.2.3.4 ", "/ip|1.2.3.4|"},
                 {"/ip \"198.51.100.1, 203.0.113.9 host\"", "/ip|198.51.100.1, 203.0.113.9 host|"},
                 {"a \"\" b", "a||b|"},  // empty quotes between blanks: an empty token; at the end: none
                 {"a \"\"", "a|"},
                 {"\"   x y\"", "x y|"},  // blanks right after an opening quote are dropped
                 {"ab\"c d\"ef gh", "abc def|gh|"},
                 {"\"unterminated text", "unterminated text|"}};
    for (const auto& c : cases) {
        CommandLine line;
        line.Build(c.raw);
        std::string tokens;
        for (int i = 0; i < line.Count(); ++i) tokens += std::string(line.Token(i)) + "|";
        EXPECT_EQ(tokens, c.tokens) << c.raw;
    }
    CommandLine line;
    line.Build("/NODLGSTART /IpFile list.txt /ip");
    EXPECT_EQ(line.Find("/nodlgstart"), 0);
    EXPECT_EQ(line.Find("-nodlgstart"), -1);
    EXPECT_STREQ(line.ValueOf("/ipfile"), "list.txt");
    EXPECT_STREQ(line.ValueOf("/ip"), "");  // a switch as the last token
    EXPECT_STREQ(line.Token(4), "");
    EXPECT_STREQ(line.Token(-1), "");
}

TEST(CommandLine, HeadlessRequests) {
    const struct {
        const char* raw;
        const char* request;  // format and path; "-": a normal start
    } cases[] = {{"/ip 4.2.2.1 /savetext out.txt", "1 out.txt"},
                 {"/SaveTabbed \"C:\\my files\\out.txt\" /ipfile list.txt", "2 C:\\my files\\out.txt"},
                 {"/ipfile list.txt /savetabular", "3 "},  // no file: the export fails
                 {"/ip 4.2.2.1 /savehtml r.html", "4 r.html"},
                 {"/ip 4.2.2.1 /SAVEHTMLVERTICAL r.html", "5 r.html"},
                 {"/ip 4.2.2.1 /savexml r.xml", "6 r.xml"},
                 {"/ip 4.2.2.1 /savetabular a.txt /savetext b.txt", "3 a.txt"},  // the first switch counts
                 {"/savetext out.txt", "-"},                                     // nothing to look up
                 {"/ip 4.2.2.1", "-"},
                 {"/ip 4.2.2.1 -savetext out.txt", "-"},
                 {"", "-"}};
    for (const auto& c : cases) {
        CommandLine line;
        line.Build(c.raw);
        HeadlessRequest r;
        EXPECT_EQ(ReadHeadlessRequest(line, &r) ? std::to_string(r.format) + " " + r.path : "-", c.request) << c.raw;
    }
}

TEST(CommandLine, HeadlessExportWaitsForTheRunAndTheNamesOrTheirGraceTime) {
    HeadlessWait wait;
    EXPECT_FALSE(wait.ReadyToWrite(1000, false, 0));  // the run goes on
    wait.RunEnded(1000);
    EXPECT_TRUE(wait.ReadyToWrite(1000, false, 5));  // names not wanted
    EXPECT_TRUE(wait.ReadyToWrite(1000, true, 0));   // no resolution running
    EXPECT_FALSE(wait.ReadyToWrite(1000 + 29999, true, 3));
    EXPECT_TRUE(wait.ReadyToWrite(1000 + 30000, true, 3));
    wait.RunEnded(20000);  // only the first end counts
    EXPECT_TRUE(wait.ReadyToWrite(31000, true, 3));
    HeadlessWait wrapping;  // the tick count wraps after 49 days
    wrapping.RunEnded(0xFFFFFF00u);
    EXPECT_FALSE(wrapping.ReadyToWrite(0x100u, true, 1));
    EXPECT_TRUE(wrapping.ReadyToWrite(30000u, true, 1));
}
