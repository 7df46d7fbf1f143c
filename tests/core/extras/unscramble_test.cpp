#include <gtest/gtest.h>

#include <string>

#include "extras/unscramble.h"

TEST(UnscrambleText, TheAboutBoxTexts) {
    char product[255];
    char link[257];
    UnscrambleText(kScrambledProductText, product, sizeof product);
    UnscrambleText(kScrambledLinkText, link, sizeof link);
    EXPECT_STREQ(product, "Ownerlens v1.0.0");
    EXPECT_STREQ(link, "http://www.velmora.example/");
}

TEST(UnscrambleText, PositionCountsInEightBitsAndTheDestinationIsBounded) {
    // Past position 255 the key wraps around.
    const std::string scrambled(300, 'Z');
    std::string expected;
    for (size_t i = 0; i < scrambled.size(); ++i) {
        expected += static_cast<char>('Z' ^ static_cast<unsigned char>(0xA7 - i) ^ 0x3C);
    }
    char out[301];
    UnscrambleText(scrambled.c_str(), out, sizeof out);
    EXPECT_EQ(std::string(out, 300), expected);
    EXPECT_EQ(out[300], '\0');
    EXPECT_EQ(out[255], expected[255]);
    EXPECT_EQ(out[256], out[0]);
    char small[5];
    UnscrambleText(scrambled.c_str(), small, sizeof small);
    EXPECT_EQ(std::string(small), expected.substr(0, 4));
    UnscrambleText("", out, sizeof out);
    EXPECT_STREQ(out, "");
}
