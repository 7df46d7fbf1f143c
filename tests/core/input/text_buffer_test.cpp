#include "base/text_buffer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

TEST(TextBuffer, CapacityAlwaysExceedsTheText) {
    TextBuffer b(256);
    b.SetText(std::string(255, 'x').c_str());
    EXPECT_EQ(b.capacity, 256);
    b.SetText(std::string(256, 'x').c_str());
    EXPECT_EQ(b.capacity, 512);
    EXPECT_EQ(b.length, 256);
    EXPECT_EQ(std::strlen(b.Text()), 256u);
}

TEST(TextBuffer, GrowthKeepsTheOldBytes) {
    TextBuffer b(8192, true);
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        char chunk[8];
        std::snprintf(chunk, sizeof chunk, "%04d\n", i % 10000);
        b.AppendBytes(chunk, 5);
        expected.append(chunk, 5);
    }
    EXPECT_EQ(b.length, 25000);
    EXPECT_EQ(b.capacity, 32768);
    EXPECT_EQ(std::string(b.Text()), expected);
}

TEST(TextBuffer, AppendWithoutKnownLengthMeasuresTheText) {
    TextBuffer b(256);
    b.SetText("abcdef");
    b.data[3] = '\0';  // the text now ends at "abc"
    b.AppendBytes("XY", -1);
    EXPECT_STREQ(b.Text(), "abcXY");
    EXPECT_EQ(b.length, 5);
}

TEST(TextBuffer, AppendWithKnownLengthKeepsEmbeddedNuls) {
    TextBuffer b(8192, true);
    b.SetText("");
    b.AppendBytes("ab\0cd", 5);
    EXPECT_EQ(b.length, 5);
    EXPECT_EQ(std::memcmp(b.data, "ab\0cd", 6), 0);
    EXPECT_STREQ(b.Text(), "ab");  // readers stop at the first NUL
    b.AppendBytes("e", 1);
    EXPECT_EQ(std::memcmp(b.data, "ab\0cde", 7), 0);
}

TEST(TextBuffer, EmptyAndClear) {
    TextBuffer b(256);
    EXPECT_STREQ(b.Text(), "");
    EXPECT_TRUE(b.SetText(nullptr));  // a null text changes nothing
    EXPECT_EQ(b.data, nullptr);
    b.SetText("x");
    b.Clear();
    EXPECT_EQ(b.data, nullptr);
    EXPECT_EQ(b.capacity, 0);
    EXPECT_EQ(b.length, 0);
    EXPECT_STREQ(b.Text(), "");
}

TEST(TextBuffer, RefusesImpossibleSizes) {
    TextBuffer b(256);
    EXPECT_FALSE(b.Reserve(int64_t{1} << 40));
    EXPECT_EQ(b.data, nullptr);
}
