// The generated tables are checked for their invariants, not retyped: the
// table source is the authority. Every lookup goes through the BIN loader
// that the shell replaces with the module's resources.

#include "whois/country_tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "whois/bin_file_loader.h"
#include "whois/bin_resources.h"

namespace {

std::vector<unsigned char> GeneratedFile(const char* name) {
    std::ifstream in(std::string(OL_GENERATED_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A row is 'A' + name length, the two-letter code and the upper-case name; a
// single byte 65 ends the table. Every code, in any case, finds its own row.
TEST(GeneratedTables, NameTablesAreWellFormedAndEveryCodeFindsItsRow) {
    for (const bool states : {false, true}) {
        const std::vector<unsigned char> table = GeneratedFile(states ? "state_table.bin" : "country_table.bin");
        std::set<std::string> codes;
        size_t at = 0;
        for (; at < table.size() && table[at] != 65; at += 3 + (table[at] - 65u)) {
            ASSERT_LE(at + 3 + (table[at] - 65u), table.size());
            const std::string code(&table[at + 1], &table[at + 3]);
            const std::string name(&table[at + 3], &table[at + 3 + (table[at] - 65u)]);
            EXPECT_TRUE(code[0] >= 'A' && code[0] <= 'Z' && code[1] >= 'A' && code[1] <= 'Z') << code;
            EXPECT_TRUE(codes.insert(code).second) << code << " twice";
            EXPECT_FALSE(name.empty() || name.size() > 254 ||
                         name.find_first_of("abcdefghijklmnopqrstuvwxyz") != name.npos)
                << name;
            for (const std::string& asked : {code, std::string{char(code[0] + 32), char(code[1] + 32)}, code + " x"}) {
                char found[256] = "";
                EXPECT_TRUE(states ? LookupStateName(asked.c_str(), found) : LookupCountryName(asked.c_str(), found));
                EXPECT_EQ(found, name) << asked;
            }
        }
        EXPECT_EQ(at + 1, table.size()) << "a single byte 65 ends the table";
        EXPECT_GT(codes.size(), states ? 50u : 200u);
    }
    const std::vector<unsigned char> octets = GeneratedFile("first_octet_table.bin");
    ASSERT_EQ(octets.size(), 256u);
    for (unsigned char registry : octets) EXPECT_LE(registry, 5);
    EXPECT_EQ(octets[41] * 1000 + octets[58] * 100 + octets[62] * 10 + octets[200], 5324)
        << "AFRINIC APNIC RIPE LACNIC";
}

TEST(LookupNames, OnlyTheFirstTwoCharactersCount) {
    char name[256] = "";
    EXPECT_TRUE(LookupCountryName("dEU", name));
    EXPECT_STREQ(name, "GERMANY");
    EXPECT_TRUE(LookupStateName("CALIFORNIA", name));
    EXPECT_STREQ(name, "CALIFORNIA");
    std::strcpy(name, "untouched");
    for (const char* code : {"EU", "AP", "ZZ", "", "D", "1A", "\xC4\xD6"})
        EXPECT_FALSE(LookupCountryName(code, name)) << code;
    EXPECT_FALSE(LookupStateName("ON", name));  // Canadian provinces are absent
    EXPECT_STREQ(name, "untouched");
}

// A loader that fails until told otherwise, counting its calls.
int loaderCalls = 0;
bool loaderReady = false;
const unsigned char kTinyTable[] = {'A' + 5, 'X', 'Q', 'T', 'E', 'S', 'T', 'S', 65};
const unsigned char* FlakyLoader(int) {
    ++loaderCalls;
    return loaderReady ? kTinyTable : nullptr;
}

TEST(BinResources, FailedLoadIsRetriedAndSuccessIsCached) {
    const unsigned char* loaded = GetBinResource(IDR_BIN_COUNTRY);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(0, std::memcmp(loaded, GeneratedFile("country_table.bin").data(), 3));
    loaderCalls = 0;
    loaderReady = false;
    SetBinResourceLoader(FlakyLoader);
    char name[256] = "untouched";
    EXPECT_FALSE(LookupCountryName("DE", name));
    EXPECT_FALSE(LookupCountryName("XQ", name));
    EXPECT_STREQ(name, "untouched");
    loaderReady = true;
    EXPECT_TRUE(LookupCountryName("xq", name));
    EXPECT_STREQ(name, "TESTS");
    EXPECT_TRUE(LookupCountryName("XQ", name));
    EXPECT_EQ(loaderCalls, 3);
    SetBinResourceLoader(nullptr);  // no loader at all: every table is missing
    EXPECT_EQ(GetBinResource(IDR_BIN_STATE), nullptr);
    InstallBinFileLoader(OL_GENERATED_DIR);
    EXPECT_TRUE(LookupCountryName("DE", name));
}

}  // namespace
