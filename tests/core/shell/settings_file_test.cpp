// The settings file: integers read as the profile API reads them, bytes as hex pairs.
#include "shell/settings_file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests_support/fake_profile_store.h"

TEST(SettingsFile, HexCodec) {
    const unsigned char bytes[] = {0x2C, 0x00, 0xFF, 0x0A};
    EXPECT_EQ(EncodeHexBytes(bytes, 4), "2C 00 FF 0A");
    EXPECT_EQ(EncodeHexBytes(bytes, 0), "");
    const struct {
        const char* text;
        int stored;
        const char* bytes;  // of 4, 0x09 where untouched
    } cases[] = {{"2c00  ff", 3, "2C 00 FF 09"}, {"01 02 03 04 05 06", 4, "01 02 03 04"}, {"A", 1, "0A 09 09 09"}};
    for (const auto& c : cases) {
        unsigned char out[4] = {9, 9, 9, 9};
        EXPECT_EQ(DecodeHexBytes(c.text, out, 4), c.stored) << c.text;
        EXPECT_EQ(EncodeHexBytes(out, 4), c.bytes) << c.text;
    }
}

TEST(SettingsFile, ValuesAsTheProfileApiReadsThem) {
    FakeProfileStore store;
    unsigned char blob[5] = {1, 2, 3, 4, 250};
    int32_t negative = -7;
    SettingsFile w(&store, SettingsFile::Write, "C:\\x.cfg", "S");
    w.ExchangeBinary("Blob", blob, 5);
    w.ExchangeInt32("E", &negative, 0);
    w.ExchangeInt32("F", &negative, 0);
    w.Delete("F");
    EXPECT_EQ(store.Get("S", "Blob") + "|" + store.Get("S", "E"), "01 02 03 04 FA|-7");
    EXPECT_FALSE(store.Has("S", "F"));

    store.Set("S", "A", "12abc");
    store.Set("S", "B", "abc");
    store.Set("S", "U", "65537");
    store.Set("S", "I", "65535");
    SettingsFile r(&store, SettingsFile::Read, "C:\\x.cfg", "S");
    unsigned char back[5] = {}, untouched[2] = {7, 7};
    EXPECT_TRUE(r.ExchangeBinary("Blob", back, 5));
    EXPECT_EQ(EncodeHexBytes(back, 5), "01 02 03 04 FA");
    EXPECT_FALSE(r.ExchangeBinary("Missing", untouched, 2));
    EXPECT_EQ(untouched[0], 7);
    int32_t a = 0, b = 1, e = 1, missing = 0;
    r.ExchangeInteger("A", &a, 3);
    r.ExchangeFlag("B", &b, 3);
    r.ExchangeInt32("E", &e, 3);  // negative numbers read as 0
    r.ExchangeInt32("D", &missing, 30);
    EXPECT_EQ(std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(e) + " " + std::to_string(missing),
              "12 0 0 30");
    uint16_t u = 0;
    int16_t i = 0;
    r.ExchangeUInt16("U", &u, 0);  // the low 16 bits
    r.ExchangeInt16("I", &i, 0);
    EXPECT_EQ(u, 1);
    EXPECT_EQ(i, -1);
}

TEST(SettingsFile, PathCutAtTheFirstDotOfTheWholePath) {
    EXPECT_EQ(SettingsPathFor("C:\\Tools\\Ownerlens.exe"), "C:\\Tools\\Ownerlens.cfg");
    EXPECT_EQ(SettingsPathFor("C:\\my.tools\\prog.exe"), "C:\\my.cfg");
    EXPECT_EQ(SettingsPathFor("C:\\Tools\\prog"), "C:\\Tools\\prog.cfg");
}
