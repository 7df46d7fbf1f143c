#include "whois/country_tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
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

// Rows of a name table as "CODE NAME" strings, checking the encoding on the way.
std::vector<std::string> Rows(const std::vector<unsigned char>& table) {
    std::vector<std::string> rows;
    size_t at = 0;
    while (at < table.size() && table[at] != 65) {
        const size_t length = table[at] - 65u;
        EXPECT_LE(at + 3 + length, table.size());
        if (at + 3 + length > table.size()) break;
        rows.emplace_back(reinterpret_cast<const char*>(&table[at + 1]), 2);
        rows.back() += ' ';
        rows.back().append(reinterpret_cast<const char*>(&table[at + 3]), length);
        at += 3 + length;
    }
    EXPECT_EQ(at + 1, table.size()) << "a single byte 65 ends the table";
    return rows;
}

TEST(GeneratedTables, CountryTableBytes) {
    const std::vector<unsigned char> table = GeneratedFile("country_table.bin");
    ASSERT_EQ(table.size(), 3361u);
    const std::vector<std::string> rows = Rows(table);
    ASSERT_EQ(rows.size(), 240u);
    const unsigned char head[] = {'A' + 11, 'A', 'F', 'A', 'F', 'G', 'H', 'A', 'N', 'I', 'S', 'T', 'A', 'N', 'A' + 13,
                                  'A',      'X', 'A', 'L', 'A', 'N', 'D', ' ', 'I', 'S', 'L', 'A', 'N', 'D', 'S'};
    EXPECT_EQ(0, std::memcmp(table.data(), head, sizeof head));
    const unsigned char tail[] = {'A' + 8, 'Z', 'W', 'Z', 'I', 'M', 'B', 'A', 'B', 'W', 'E', 65};
    EXPECT_EQ(0, std::memcmp(table.data() + table.size() - sizeof tail, tail, sizeof tail));
    EXPECT_EQ(rows[50], "CD CONGO, THE DEMOCRATIC REPUBLIC OF THE");
    EXPECT_EQ(rows[53], "CI COTE D'IVOIRE");
    EXPECT_EQ(rows[234], "VI VIRGIN ISLANDS, U.S.");
    EXPECT_EQ(rows[189], "CS SERBIA AND MONTENEGRO");
    size_t longest = 0;
    for (const std::string& row : rows) longest = std::max(longest, row.size() - 3);
    EXPECT_EQ(longest, 44u);
}

TEST(GeneratedTables, StateTableBytes) {
    const std::vector<unsigned char> table = GeneratedFile("state_table.bin");
    ASSERT_EQ(table.size(), 669u);
    const std::vector<std::string> rows = Rows(table);
    ASSERT_EQ(rows.size(), 55u);
    EXPECT_EQ(rows.front(), "AK ALASKA");
    EXPECT_EQ(rows[45], "US UNITED STATES");
    EXPECT_EQ(rows[48], "VI VIRGIN ISLANDS OF USA");
    EXPECT_EQ(rows.back(), "MH MARSHALL ISLANDS");  // stored after WY
    const unsigned char tail[] = {'A' + 16, 'M', 'H', 'M', 'A', 'R', 'S', 'H', 'A', 'L',
                                  'L',      ' ', 'I', 'S', 'L', 'A', 'N', 'D', 'S', 65};
    EXPECT_EQ(0, std::memcmp(table.data() + table.size() - sizeof tail, tail, sizeof tail));
}

TEST(GeneratedTables, FirstOctetTableBytes) {
    const std::vector<unsigned char> table = GeneratedFile("first_octet_table.bin");
    ASSERT_EQ(table.size(), 256u);
    int nonZero = 0;
    for (unsigned char entry : table) nonZero += entry != 0;
    EXPECT_EQ(nonZero, 73);
    EXPECT_EQ(table[41], 5);
    EXPECT_EQ(table[58], 3);
    EXPECT_EQ(table[61], 3);
    EXPECT_EQ(table[62], 2);
    EXPECT_EQ(table[76], 0);
    EXPECT_EQ(table[77], 2);
    EXPECT_EQ(table[95], 2);
    EXPECT_EQ(table[96], 0);
    EXPECT_EQ(table[192], 0);
    EXPECT_EQ(table[200], 4);
    EXPECT_EQ(table[222], 3);
    EXPECT_EQ(table[223], 0);
}

TEST(GeneratedTables, LoaderServesTheGeneratedBytes) {
    const std::vector<unsigned char> file = GeneratedFile("country_table.bin");
    const unsigned char* loaded = GetBinResource(IDR_BIN_COUNTRY);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(0, std::memcmp(loaded, file.data(), file.size()));
    EXPECT_EQ(GetBinResource(IDR_BIN_COUNTRY), loaded) << "cached for the rest of the run";
}

TEST(LookupCountryName, MatchesTheFirstTwoCharactersInAnyCase) {
    for (const char* code : {"de", "De", "DE", "dE", "DE # Germany", "DEU"}) {
        char name[256] = "";
        ASSERT_TRUE(LookupCountryName(code, name)) << code;
        EXPECT_STREQ(name, "GERMANY");
    }
    char name[256];
    ASSERT_TRUE(LookupCountryName("zw", name));  // last row
    EXPECT_STREQ(name, "ZIMBABWE");
    ASSERT_TRUE(LookupCountryName("AF", name));  // first row
    EXPECT_STREQ(name, "AFGHANISTAN");
}

TEST(LookupCountryName, UnknownCodesLeaveTheDestinationAlone) {
    for (const char* code : {"EU", "AP", "ZZ", "ME", "RS", "", "D", "1A", "\xC4\xD6"}) {
        char name[256] = "untouched";
        EXPECT_FALSE(LookupCountryName(code, name)) << code;
        EXPECT_STREQ(name, "untouched");
    }
}

TEST(LookupStateName, ComparesOnlyTwoCharacters) {
    char name[256];
    ASSERT_TRUE(LookupStateName("CALIFORNIA", name));
    EXPECT_STREQ(name, "CALIFORNIA");
    ASSERT_TRUE(LookupStateName("va", name));
    EXPECT_STREQ(name, "VIRGINIA");
    ASSERT_TRUE(LookupStateName("MH", name));
    EXPECT_STREQ(name, "MARSHALL ISLANDS");
    strcpy(name, "untouched");
    EXPECT_FALSE(LookupStateName("ON", name));  // Canadian provinces are absent
    EXPECT_FALSE(LookupStateName("", name));
    EXPECT_STREQ(name, "untouched");
}

TEST(CapitalizeWords, WordStartsAfterSpaceSlashParenthesisAndHyphen) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"GERMANY", "Germany"},
        {"GUINEA-BISSAU", "Guinea-Bissau"},
        {"HOLY SEE (VATICAN CITY STATE)", "Holy See (Vatican City State)"},
        {"COTE D'IVOIRE", "Cote D'ivoire"},
        {"VIRGIN ISLANDS, U.S.", "Virgin Islands, U.s."},
        {"KOREA, REPUBLIC OF", "Korea, Republic Of"},
        {"A/B/C", "A/B/C"},
        {"", ""},
        {"  LEADING", "  Leading"},
        {"\xC4\xD6X", "\xC4\xD6x"},
    };
    for (const auto& c : cases) {
        char text[64];
        strcpy(text, c.in);
        CapitalizeWords(text);
        EXPECT_STREQ(text, c.out) << c.in;
    }
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
    loaderCalls = 0;
    loaderReady = false;
    SetBinResourceLoader(FlakyLoader);
    char name[256] = "untouched";
    EXPECT_FALSE(LookupCountryName("DE", name));
    EXPECT_FALSE(LookupCountryName("XQ", name));
    EXPECT_STREQ(name, "untouched");
    EXPECT_EQ(loaderCalls, 2);
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
