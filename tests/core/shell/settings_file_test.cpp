#include "base/settings_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "tests_support/fake_profile_store.h"

TEST(HexCodec, EncodesUpperCasePairsWithSingleBlanks) {
    const unsigned char bytes[] = {0x2C, 0x00, 0xFF, 0x0A};
    EXPECT_EQ(EncodeHexBytes(bytes, 4), "2C 00 FF 0A");
    EXPECT_EQ(EncodeHexBytes(bytes, 0), "");
}

TEST(HexCodec, DecodesPairsSkippingBlanks) {
    unsigned char out[4] = {9, 9, 9, 9};
    EXPECT_EQ(DecodeHexBytes("2c00  ff", out, 4), 3);
    EXPECT_EQ(out[0], 0x2C);
    EXPECT_EQ(out[1], 0x00);
    EXPECT_EQ(out[2], 0xFF);
    EXPECT_EQ(out[3], 9);  // fewer bytes: only those are replaced
    EXPECT_EQ(DecodeHexBytes("01 02 03 04 05 06", out, 4), 4);
    EXPECT_EQ(out[3], 4);
    EXPECT_EQ(DecodeHexBytes("A", out, 4), 1);  // a cut pair
    EXPECT_EQ(out[0], 0x0A);
}

TEST(SettingsFile, BinaryRoundTripAndEmptyValueLeavesBytes) {
    FakeProfileStore store;
    unsigned char bytes[5] = {1, 2, 3, 4, 250};
    SettingsFile w(&store, SettingsFile::Write, "C:\\x.cfg", "General");
    w.ExchangeBinary("Blob", bytes, 5);
    EXPECT_EQ(store.Get("General", "Blob"), "01 02 03 04 FA");

    unsigned char back[5] = {};
    SettingsFile r(&store, SettingsFile::Read, "C:\\x.cfg", "General");
    EXPECT_TRUE(r.ExchangeBinary("Blob", back, 5));
    EXPECT_EQ(std::memcmp(back, bytes, 5), 0);
    unsigned char untouched[2] = {7, 7};
    EXPECT_FALSE(r.ExchangeBinary("Missing", untouched, 2));
    EXPECT_EQ(untouched[0], 7);
}

TEST(SettingsFile, IntegersReadLikeTheProfileApi) {
    FakeProfileStore store;
    store.Set("General", "A", "12abc");
    store.Set("General", "B", "abc");
    store.Set("General", "C", "-5");
    SettingsFile r(&store, SettingsFile::Read, "p", "General");
    int32_t a = 0, b = 1, c = 1, d = 0;
    r.ExchangeInteger("A", &a, 3);
    r.ExchangeFlag("B", &b, 3);
    r.ExchangeInt32("C", &c, 3);
    r.ExchangeInt32("D", &d, 30);
    EXPECT_EQ(a, 12);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(c, 0);  // negative numbers read as 0
    EXPECT_EQ(d, 30);

    int32_t v = -7;
    SettingsFile w(&store, SettingsFile::Write, "p", "General");
    w.ExchangeInt32("E", &v, 0);
    EXPECT_EQ(store.Get("General", "E"), "-7");
    w.Delete("E");
    EXPECT_FALSE(store.Has("General", "E"));
}

TEST(SettingsFile, SixteenBitExchangesKeepTheLowBits) {
    FakeProfileStore store;
    store.Set("S", "U", "65537");
    store.Set("S", "I", "65535");
    SettingsFile r(&store, SettingsFile::Read, "p", "S");
    uint16_t u = 0;
    int16_t i = 0;
    r.ExchangeUInt16("U", &u, 0);
    r.ExchangeInt16("I", &i, 0);
    EXPECT_EQ(u, 1);
    EXPECT_EQ(i, -1);
}

TEST(SettingsPath, CutAtTheFirstDotOfTheWholePath) {
    EXPECT_EQ(SettingsPathFor("C:\\Tools\\Ownerlens.exe"), "C:\\Tools\\Ownerlens.cfg");
    EXPECT_EQ(SettingsPathFor("C:\\my.tools\\prog.exe"), "C:\\my.cfg");
    EXPECT_EQ(SettingsPathFor("C:\\Tools\\prog"), "C:\\Tools\\prog.cfg");
}
