// Tokens, dotted quads and the text buffer the address texts and answers live in.
#include "input/address_helpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../views/list_test_support.h"
#include "input/address_text_input.h"

TEST(AddressHelpers, Tokens) {
    const std::string longToken(2000, 'a');
    const struct {
        std::string text;
        int outSize;
        std::string tokens;  // separated by '|', then the final position
    } cases[] = {{"a,,b", 1023, "a|b|@4"},
                 {",,,", 1023, "@3"},
                 {"", 1023, "@0"},
                 {" x y ", 1023, "x|y|@5"},
                 {"ab,,", 1023, "ab|@4"},
                 {"abcdef,gh", 4, "abc|gh|@9"},
                 {longToken + ",next", 1023, std::string(1022, 'a') + "|next|@2005"}};
    for (const auto& c : cases) {
        std::vector<char> out(static_cast<size_t>(c.outSize));
        std::string tokens;
        int position = 0;
        while (NextToken(out.data(), c.outSize, c.text.c_str(), ", ", &position))
            tokens += std::string(out.data()) + "|";
        EXPECT_EQ(NextToken(out.data(), c.outSize, c.text.c_str(), ", ", &position), 0);  // and stays at the end
        EXPECT_EQ(tokens + "@" + std::to_string(position), c.tokens) << c.text;
    }
}

TEST(AddressHelpers, DottedQuads) {
    const struct {
        const char* text;
        int storePartial, result;
        const char* address;  // "120.86.52.18": left as it was
    } cases[] = {{"198.051.100.001", 0, 1, "198.51.100.1"},
                 {"255.255.255.255", 0, 1, "255.255.255.255"},
                 {"200.160", 1, 0, "200.160.0.0"},
                 {"200.160.3", 1, 0, "200.160.3.0"},
                 {"1.2.3.4.", 1, 0, "1.2.3.4"},
                 {"1.2.999.4", 1, 0, "1.2.0.0"},
                 {"x", 1, 0, "0.0.0.0"}};
    for (const auto& c : cases) {
        uint32_t address = 0x12345678;
        EXPECT_EQ(ParseDottedQuad(c.text, &address, c.storePartial), c.result) << c.text;
        EXPECT_EQ(Dotted(address), c.address) << c.text;
    }
    for (const char* bad : {"198.51.100.256", "198.51.100.1234", "198.51.100", "198.51.100.1.", "", "198.51. 100.1",
                            "198.51.100.1 ", "1..2.3", ".1.2.3", "1.2.3.4.5", "a.b.c.d", "0001.2.3.4"}) {
        uint32_t address = 0x12345678;
        EXPECT_EQ(ParseDottedQuad(bad, &address, 0), 0) << bad;
        EXPECT_EQ(address, 0x12345678u) << bad;
    }
    EXPECT_EQ(Dotted(SwapByteOrder(Ip("192.0.2.7"))), "7.2.0.192");
}

TEST(AddressHelpers, TextBufferGrowsInStepsAndKeepsItsBytes) {
    TextBuffer b(256);
    EXPECT_TRUE(b.SetText(nullptr));  // changes nothing
    EXPECT_EQ(b.data, nullptr);
    EXPECT_STREQ(b.Text(), "");
    b.SetText(std::string(255, 'x').c_str());
    EXPECT_EQ(b.capacity, 256);
    b.SetText(std::string(256, 'x').c_str());
    EXPECT_EQ(b.capacity, 512);
    b.data[3] = '\0';  // a buffer that does not trust its length measures the text
    b.AppendBytes("XY", -1);
    EXPECT_STREQ(b.Text(), "xxxXY");
    EXPECT_EQ(b.length, 5);
    EXPECT_FALSE(b.Reserve(int64_t{1} << 40));
    b.Clear();
    EXPECT_EQ(b.data, nullptr);
    EXPECT_EQ(b.capacity + b.length, 0);

    TextBuffer known(8192, true);
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        const std::string chunk = std::to_string(10000 + i).substr(1) + '\0';
        known.AppendBytes(chunk.data(), 5);
        expected += chunk;
    }
    EXPECT_EQ(known.capacity, 32768);
    EXPECT_EQ(std::string(known.data, static_cast<size_t>(known.length)), expected);  // NULs and all
}

TEST(AddressHelpers, HandedOverTexts) {
    EXPECT_TRUE(AcceptsSenderText(0xFFFFE, 42));
    EXPECT_FALSE(AcceptsSenderText(0xFFFFF, 42));
    EXPECT_FALSE(AcceptsSenderText(10, 0));  // no sender announced
    TextBuffer text(256);
    ASSERT_TRUE(SetAddressBytes(text, "1.2.3.4\0xyz", 11));
    EXPECT_EQ(std::string(text.data, 12), std::string("1.2.3.4\0xyz", 12));
    EXPECT_EQ(text.length, 11);
    for (int64_t n : {int64_t{-1}, int64_t{1} << 31}) EXPECT_FALSE(SetAddressBytes(text, "x", n));
    EXPECT_FALSE(SetAddressBytes(text, nullptr, 4));
    EXPECT_TRUE(SetAddressBytes(text, "", 0));
    EXPECT_STREQ(text.Text(), "");
}
