// The command line, what asks for an export without a window, and the settings file.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/headless_export.h"
#include "app/options_settings.h"
#include "base/settings_file.h"
#include "tests_support/fake_profile_store.h"

TEST(CommandLine, TokensSwitchesAndExportRequests) {
    const std::pair<const char*, const char*> cases[] = {
        // Tokens, each followed by '|'; then the export asked for: format and path, "-" for a normal start.
        {"", "-"},
        {"  /ip   1.2.3.4  /savetext out.txt", "/ip|1.2.3.4|/savetext|out.txt|1 out.txt"},
        {"/SaveTabbed \"C:\\my files\\out.txt\" /ipfile list.txt",
         "/SaveTabbed|C:\\my files\\out.txt|/ipfile|list.txt|2 C:\\my files\\out.txt"},
        {"/ipfile list.txt /savetabular", "/ipfile|list.txt|/savetabular|3 "},  // no file: the export fails
        {"/ip \"1.2.3.4, 5.6.7.8 host\" /savehtml", "/ip|1.2.3.4, 5.6.7.8 host|/savehtml|4 "},
        {"/ip a /SAVEHTMLVERTICAL r.html /savexml",
         "/ip|a|/SAVEHTMLVERTICAL|r.html|/savexml|5 r.html"},  // the first counts
        {"/ip a /RDAP /savexml r.xml", "/ip|a|/RDAP|/savexml|r.xml|rdap 6 r.xml"},
        {"/nodlgstart /rdap", "/nodlgstart|/rdap|rdap -"},
        {"/savetext out.txt", "/savetext|out.txt|-"},                    // nothing to look up
        {"/ip a -savetext \"\" b \"open", "/ip|a|-savetext||b|open|-"},  // empty quotes between blanks: an empty token
        {"a \"   x y\" ab\"c d\"ef \"\"", "a|x y|abc def|-"}};           // blanks right after a quote are dropped
    for (const auto& [raw, expected] : cases) {
        CommandLine line;
        line.Build(raw);
        std::string tokens;
        for (int i = 0; i < line.Count(); ++i) tokens += std::string(line.Token(i)) + "|";
        Options options;  // "rdap": for this run only, the setting UseRdap stays as it was
        ApplyRunSwitches(line, options);
        tokens += options.RdapOnce && !options.UseRdap ? "rdap " : "";
        HeadlessRequest r;
        EXPECT_EQ(tokens + (ReadHeadlessRequest(line, &r) ? std::to_string(r.format) + " " + r.path : "-"), expected);
    }
    CommandLine line;
    line.Build("/NODLGSTART /IpFile list.txt /ip");
    EXPECT_EQ(line.Find("/nodlgstart") + line.Find("-nodlgstart"), -1);
    EXPECT_EQ(std::string(line.ValueOf("/ipfile")) + "|" + line.ValueOf("/ip") + "|" + line.Token(4) + line.Token(-1),
              "list.txt||");
}

TEST(CommandLine, HeadlessExportWaitsForTheRunAndTheNamesOrTheirGraceTime) {
    HeadlessWait wait;
    EXPECT_FALSE(wait.ReadyToWrite(1000, false, 0));  // the run goes on
    wait.RunEnded(1000);
    EXPECT_TRUE(wait.ReadyToWrite(1000, false, 5) && wait.ReadyToWrite(1000, true, 0));  // names unwanted or done
    EXPECT_TRUE(!wait.ReadyToWrite(1000 + 29999, true, 3) && wait.ReadyToWrite(1000 + 30000, true, 3));
}

TEST(SettingsFile, ValuesAsTheProfileApiReadsThemAndBytesAsHexPairs) {
    FakeProfileStore store;
    unsigned char blob[5] = {0x2C, 0, 0xFF, 0x0A, 250}, back[5] = {}, untouched[2] = {7, 7};
    int32_t negative = -7, values[4] = {0, 1, 1, 0};
    SettingsFile w(&store, SettingsFile::Write, "C:\\x.cfg", "S");
    w.ExchangeBinary("Blob", blob, 5);
    w.ExchangeInt32("E", &negative, 0);
    w.ExchangeInt32("F", &negative, 0);
    w.Delete("F");
    EXPECT_EQ(store.values, (std::map<std::string, std::string>{{"S/Blob", "2C 00 FF 0A FA"}, {"S/E", "-7"}}));
    store.values.insert({{"S/A", "12abc"}, {"S/B", "abc"}, {"S/U", "65537"}, {"S/Cut", "01 0"}});
    SettingsFile r(&store, SettingsFile::Read, "C:\\x.cfg", "S");
    EXPECT_TRUE(r.ExchangeBinary("Blob", back, 5) && !r.ExchangeBinary("Missing", untouched, 2));
    EXPECT_TRUE(r.ExchangeBinary("Cut", untouched, 2));  // a pair cut by the end is its one digit
    EXPECT_EQ(EncodeHexBytes(back, 5) + "|" + EncodeHexBytes(untouched, 2), "2C 00 FF 0A FA|01 00");
    r.ExchangeInteger("A", &values[0], 3);
    r.ExchangeFlag("B", &values[1], 3);
    r.ExchangeInt32("E", &values[2], 3);  // negative numbers read as 0
    r.ExchangeInt32("D", &values[3], 30);
    uint16_t u = 0;
    r.ExchangeUInt16("U", &u, 0);  // the low 16 bits
    EXPECT_EQ(std::to_string(u) + " " + EncodeHexBytes(values, 16),
              "1 0C 00 00 00 00 00 00 00 00 00 00 00 1E 00 00 00");
    unsigned char out[4] = {9, 9, 9, 9};
    EXPECT_EQ(DecodeHexBytes("2c0  F 01 02 03", out, 3), 3);  // blanks skipped; no more bytes than asked for
    EXPECT_EQ(EncodeHexBytes(out, 4), "2C 00 0F 09");
}

TEST(SettingsFile, RegistryBlocksAndContactCountsAreCheckedAndWrittenOnlyWhileSet) {
    FakeProfileStore store;
    store.values = {{"G/ArinBlockedUntil", "20261208000x"},   {"G/RipeBlockedUntil", "202612080000"},
                    {"G/ApnicBlockedUntil", "2026120800"},    {"G/LacnicBlockedUntil", "2026120800001"},
                    {"G/RipeContactsToday", "20261207,12"},   {"G/ApnicContactsToday", "2026120,12"},
                    {"G/AfrinicContactsToday", "20261207,1x"}};
    Options options;
    SettingsFile r(&store, SettingsFile::Read, "C:\\x.cfg", "G"), w(&store, SettingsFile::Write, "C:\\x.cfg", "G");
    ExchangeOptionKeys(r, options);
    std::snprintf(options.BlockedUntil[4], 13, "202701010000");
    ExchangeOptionKeys(w, options);
    std::string blocked;
    for (const auto& [key, value] : store.values)
        blocked += key.find("Blocked") != key.npos || key.find("Today") != key.npos ? key + "=" + value + " " : "";
    EXPECT_EQ(blocked,
              "G/AfrinicBlockedUntil=202701010000 G/RipeBlockedUntil=202612080000 G/RipeContactsToday=20261207,12 ");
}

TEST(SettingsFile, PathIsTheProgramsNameUpToItsLastDotInItsOwnFolder) {
    EXPECT_EQ(SettingsPathFor("C:\\john.doe\\Ownerlens.exe") + SettingsPathFor("C:\\a.b\\tool.v2.exe") +
                  SettingsPathFor("D:\\a.b\\noext"),
              "C:\\john.doe\\Ownerlens.cfgC:\\a.b\\tool.v2.cfgD:\\a.b\\noext.cfg");
}

TEST(SettingsFile, APlacementIsRestoredOnAnyMonitor) {
    const int desktop[4] = {-1280, 0, 2560, 1024},  // a second monitor left of the 1280 x 1024 primary one
        rects[][4] = {{-1000, 100, -500, 500}, {1200, 900, 1700, 1300}, {0, -10, 500, 400},
                      {0, 0, 500, 21},         {1260, 0, 1800, 400},    {-1300, 0, -1275, 400},
                      {0, -11, 500, 400},      {0, 1004, 500, 1400},    {0, 0, 20, 400}};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(IsPlacementPlausible(rects[i], desktop), i < 4) << i;  // 4 plausible
}
