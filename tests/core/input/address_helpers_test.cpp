#include "base/address_helpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
std::vector<std::string> Tokens(const char* text, const char* seps, int outSize = 1023) {
    std::vector<std::string> out;
    std::vector<char> buf(static_cast<size_t>(outSize));
    int pos = 0;
    while (NextToken(buf.data(), outSize, text, seps, &pos)) out.emplace_back(buf.data());
    return out;
}

uint32_t Addr(unsigned a, unsigned b, unsigned c, unsigned d) {
    const unsigned char bytes[4] = {static_cast<unsigned char>(a), static_cast<unsigned char>(b),
                                    static_cast<unsigned char>(c), static_cast<unsigned char>(d)};
    uint32_t v;
    std::memcpy(&v, bytes, 4);
    return v;
}
}  // namespace

TEST(NextToken, RunsOfSeparatorsCountAsOne) {
    EXPECT_EQ(Tokens("a,,b", ","), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(Tokens(",,,", ",").empty());
    EXPECT_TRUE(Tokens("", ",").empty());
    EXPECT_EQ(Tokens(" x y ", " "), (std::vector<std::string>{"x", "y"}));
}

TEST(NextToken, LongTokenIsCutAndTheRestSkipped) {
    std::string text(2000, 'a');
    text += ",next";
    const auto t = Tokens(text.c_str(), ",");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0], std::string(1022, 'a'));
    EXPECT_EQ(t[1], "next");
}

TEST(NextToken, PositionStaysAtTheEnd) {
    char buf[16];
    int pos = 0;
    EXPECT_EQ(NextToken(buf, 16, "ab", ",", &pos), 1);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(NextToken(buf, 16, "ab", ",", &pos), 0);
    EXPECT_EQ(pos, 2);
    pos = 0;
    EXPECT_EQ(NextToken(buf, 16, "ab,,", ",", &pos), 1);
    EXPECT_EQ(NextToken(buf, 16, "ab,,", ",", &pos), 0);
    EXPECT_EQ(pos, 4);
}

TEST(ParseDottedQuad, StrictReading) {
    uint32_t a = 0;
    EXPECT_EQ(ParseDottedQuad("198.051.100.001", &a, 0), 1);
    EXPECT_EQ(a, Addr(198, 51, 100, 1));
    EXPECT_EQ(ParseDottedQuad("255.255.255.255", &a, 0), 1);
    EXPECT_EQ(a, Addr(255, 255, 255, 255));
    for (const char* bad : {"198.51.100.256", "198.51.100.1234", "198.51.100", "198.51.100.1.", "", "198.51. 100.1",
                            "198.51.100.1 ", "1..2.3", ".1.2.3", "1.2.3.4.5", "a.b.c.d", "0001.2.3.4"}) {
        a = 0x12345678;
        EXPECT_EQ(ParseDottedQuad(bad, &a, 0), 0) << bad;
        EXPECT_EQ(a, 0x12345678u) << bad;  // untouched without store-partial
    }
}

TEST(ParseDottedQuad, StorePartialKeepsCompletedGroups) {
    uint32_t a = 0x12345678;
    EXPECT_EQ(ParseDottedQuad("200.160", &a, 1), 0);
    EXPECT_EQ(a, Addr(200, 160, 0, 0));
    EXPECT_EQ(ParseDottedQuad("200.160.3", &a, 1), 0);
    EXPECT_EQ(a, Addr(200, 160, 3, 0));
    EXPECT_EQ(ParseDottedQuad("1.2.3.4.", &a, 1), 0);
    EXPECT_EQ(a, Addr(1, 2, 3, 4));
    EXPECT_EQ(ParseDottedQuad("1.2.999.4", &a, 1), 0);
    EXPECT_EQ(a, Addr(1, 2, 0, 0));
    EXPECT_EQ(ParseDottedQuad("x", &a, 1), 0);
    EXPECT_EQ(a, 0u);
}

TEST(AddressFormat, DottedQuadAndByteOrder) {
    char out[16];
    const uint32_t a = Addr(192, 0, 2, 7);
    FormatDottedQuad(a, out);
    EXPECT_STREQ(out, "192.0.2.7");
    FormatDottedQuad(Addr(255, 255, 255, 255), out);
    EXPECT_STREQ(out, "255.255.255.255");
    EXPECT_EQ(SwapByteOrder(a), Addr(7, 2, 0, 192));
    EXPECT_EQ(SwapByteOrder(SwapByteOrder(a)), a);
}
