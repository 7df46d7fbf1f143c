#include "app/headless_export.h"

#include <gtest/gtest.h>

#include "app/command_line.h"

namespace {

bool Read(const char* raw, HeadlessRequest* request) {
    CommandLine commandLine;
    commandLine.Build(raw);
    return ReadHeadlessRequest(commandLine, request);
}

TEST(HeadlessRequest, NeedsAnExportSwitchAndAddresses) {
    HeadlessRequest r;
    ASSERT_TRUE(Read("/ip 4.2.2.1 /savetext out.txt", &r));
    EXPECT_EQ(r.format, 1);
    EXPECT_EQ(r.path, "out.txt");
    ASSERT_TRUE(Read("/SaveTabbed \"C:\\my files\\out.txt\" /ipfile list.txt", &r));
    EXPECT_EQ(r.format, 2);
    EXPECT_EQ(r.path, "C:\\my files\\out.txt");
    ASSERT_TRUE(Read("/ipfile list.txt /savetabular", &r));
    EXPECT_EQ(r.format, 3);
    EXPECT_EQ(r.path, "");  // no file: the export fails with exit code 1

    EXPECT_FALSE(Read("/savetext out.txt", &r));  // nothing to look up: a normal start
    EXPECT_FALSE(Read("/ip 4.2.2.1", &r));        // no export
    EXPECT_FALSE(Read("/ip 4.2.2.1 -savetext out.txt", &r));
    EXPECT_FALSE(Read("", &r));
}

TEST(HeadlessRequest, HtmlAndXmlSwitches) {
    HeadlessRequest r;
    ASSERT_TRUE(Read("/ip 4.2.2.1 /savehtml r.html", &r));
    EXPECT_EQ(r.format, 4);
    ASSERT_TRUE(Read("/ip 4.2.2.1 /SAVEHTMLVERTICAL r.html", &r));
    EXPECT_EQ(r.format, 5);
    ASSERT_TRUE(Read("/ip 4.2.2.1 /savexml r.xml", &r));
    EXPECT_EQ(r.format, 6);
    EXPECT_EQ(r.path, "r.xml");
}

TEST(HeadlessRequest, TheFirstExportSwitchCounts) {
    HeadlessRequest r;
    ASSERT_TRUE(Read("/ip 4.2.2.1 /savetabular a.txt /savetext b.txt", &r));
    EXPECT_EQ(r.format, 3);
    EXPECT_EQ(r.path, "a.txt");
}

TEST(HeadlessWait, WritesOnceTheRunEndedAndTheNamesAreInOrLate) {
    HeadlessWait wait;
    EXPECT_FALSE(wait.ReadyToWrite(1000, false, 0));  // the run goes on
    wait.RunEnded(1000);
    EXPECT_TRUE(wait.ReadyToWrite(1000, false, 5));  // names not wanted
    EXPECT_TRUE(wait.ReadyToWrite(1000, true, 0));
    EXPECT_FALSE(wait.ReadyToWrite(1000 + 29999, true, 3));
    EXPECT_TRUE(wait.ReadyToWrite(1000 + 30000, true, 3));
    wait.RunEnded(20000);  // only the first end counts
    EXPECT_TRUE(wait.ReadyToWrite(31000, true, 3));

    HeadlessWait wrapping;  // the tick count wraps after 49 days
    wrapping.RunEnded(0xFFFFFF00u);
    EXPECT_FALSE(wrapping.ReadyToWrite(0x100u, true, 1));
    EXPECT_TRUE(wrapping.ReadyToWrite(30000u, true, 1));
}

}  // namespace
