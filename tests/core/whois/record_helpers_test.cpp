// The helpers every parser shares, one row per rule from
// tests/data/whois/cases/helpers.tsv; AnswerReader, which must walk any text
// exactly as NextLine and SplitKeyValue do; and the generated name tables,
// checked for their invariants rather than retyped (the table source is the
// authority), read through the BIN loader the shell replaces with resources.

#include "whois/record_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "whois/answer_reader.h"
#include "whois/bin_file_loader.h"
#include "whois/bin_resources.h"
#include "whois/country_tables.h"
#include "whois/lacnic_parser.h"
#include "whois_test_support.h"

namespace {

const char* const kKeywordTexts[] = {"org",     "orgid",         "address",      "e-mail",
                                     "nic-hdl", "orgabusephone", "orgtechemail", "x"};
const Keyword kKeywords[] = {Keyword("org"),     Keyword("orgid"),         Keyword("address"),      Keyword("e-mail"),
                             Keyword("nic-hdl"), Keyword("orgabusephone"), Keyword("orgtechemail"), Keyword("x")};

// Walks text both ways and compares every line, split and keyword match.
void ExpectSameWalk(const std::string& text) {
    WhoisRecord slow, fast;
    size_t position = 0;
    AnswerReader reader(text.c_str());
    for (int line = 1;; ++line) {
        const bool more = NextLine(text.c_str(), &position, slow.line);
        ASSERT_EQ(more, reader.Next(&fast)) << "line " << line;
        if (!more) break;
        ASSERT_STREQ(slow.line, fast.line) << "line " << line;
        const bool split = SplitKeyValue(&slow);
        ASSERT_EQ(split, reader.Split(&fast)) << "line " << line;
        if (!split) continue;
        ASSERT_STREQ(slow.key, fast.key);
        ASSERT_EQ(fast.value - fast.line, slow.value - slow.line);
        int expected = -1;
        for (int k = 0; k < 8 && expected < 0; ++k) {
            if (KeyIs(&slow, kKeywordTexts[k])) expected = k;
        }
        ASSERT_EQ(reader.Match(kKeywords, 8), expected) << slow.key;
    }
}

// Runs helper op on a (and b) and shows what it gave.
std::string RunHelper(const std::string& op, const std::string& a, const std::string& b) {
    WhoisRecord r;
    ClearRecord(&r);
    std::snprintf(r.line, sizeof r.line, "%s", a.c_str());
    r.value = r.line;
    char out[kFieldSize];
    std::snprintf(out, sizeof out, "%s", op == "CopyBounded" || op.rfind("Lookup", 0) == 0 ? "untouched" : a.c_str());
    uint32_t first = 0x01010101, last = 0x09090909;  // 1.1.1.1 - 9.9.9.9, to see what is left alone
    std::string lines;
    for (size_t cut = 0; (op == "Lines" || op == "Walk") && cut <= a.size(); ++cut) {
        ExpectSameWalk(a.substr(cut));
        ExpectSameWalk(a.substr(0, cut));
    }
    for (size_t at = 0; op == "Lines" && lines.size() < 9000 && NextLine(a.c_str(), &at, r.line);)
        lines += r.line + std::string("|");
    if (op == "Lines" || op == "Walk") return lines;
    if (op == "Split") return SplitKeyValue(&r) ? std::string(r.key) + "=" + r.value : "-";
    if (op == "KeyIs") return SplitKeyValue(&r) && KeyIs(&r, b.c_str()) ? "yes" : "no";
    if (op == "ValueIs") return SplitKeyValue(&r) && ValueIs(&r, b.c_str()) ? "yes" : "no";
    if (op == "CopyBounded") return CopyBounded(out, std::stoi(b), a.c_str());
    if (op == "AppendBounded") return AppendBounded(out, b.c_str());
    if (op == "AppendAddressPart") return AppendAddressPart(out, b.c_str()), out;
    if (op == "FindNoCase") return std::to_string(FindNoCase(a.c_str(), b.c_str()));
    if (op == "PickAbuseAddress") return PickAbuseAddress(a.c_str(), out) ? out : "-";
    if (op == "LookupCountryName") return LookupCountryName(a.c_str(), out), out;
    if (op == "LookupStateName") return LookupStateName(a.c_str(), out), out;
    if (op == "CapitalizeWords") return CapitalizeWords(out), out;
    const bool cidr = op == "ParseCidrRange" && ParseCidrRange(a.c_str(), &first, &last);
    if (op == "ParseCidrRange") return (cidr ? "" : "none ") + Quad(first) + " - " + Quad(last);
    EXPECT_EQ(op, "ParseAddressRange");
    r.fromIp = first, r.toIp = last;
    ParseAddressRange(&r);
    return Quad(r.fromIp) + " - " + Quad(r.toIp);
}

TEST(RecordHelpers, Rows) {
    std::istringstream in(ReadWhoisAnswer("cases/helpers.tsv"));
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream cells(line);
        std::string column[4];
        for (std::string& cell : column) std::getline(cells, cell, '\t'), cell = Unescape(cell);
        EXPECT_EQ(RunHelper(column[0], column[1], column[2]), column[3]) << line.substr(0, 120);
        ++rows;
    }
    EXPECT_GT(rows, 50);
}

TEST(AnswerReader, WalksEveryRealAnswerAsNextLineDoes) {
    for (const auto& [file, registry] : WhoisAnswerFiles()) ExpectSameWalk(ReadWhoisAnswer(file));
}

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
        size_t at = 0, length = 0;
        for (; at < table.size() && table[at] != 65; at += 3 + length) {
            length = table[at] - 65u;
            ASSERT_LE(at + 3 + length, table.size());
            const std::string code(&table[at + 1], &table[at + 3]), name(&table[at + 3], &table[at + 3 + length]);
            EXPECT_TRUE(std::isupper(code[0]) && std::isupper(code[1]) && codes.insert(code).second) << code;
            EXPECT_TRUE(length > 0 && length < 255 && !std::any_of(name.begin(), name.end(), ::islower)) << name;
            for (const std::string& asked : {code, std::string{char(code[0] + 32), char(code[1] + 32)}, code + "x"}) {
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
    EXPECT_LE(*std::max_element(octets.begin(), octets.end()), 5);
    EXPECT_EQ(octets[41] * 1000 + octets[58] * 100 + octets[62] * 10 + octets[200], 5324)
        << "AFRINIC APNIC RIPE LACNIC";
}

// A loader that fails until told otherwise, counting its calls.
int loaderCalls = 0;
const unsigned char kTinyTable[] = {'A' + 5, 'X', 'Q', 'T', 'E', 'S', 'T', 'S', 65};
const unsigned char* FlakyLoader(int) {
    return ++loaderCalls > 1 ? kTinyTable : nullptr;
}

TEST(BinResources, FailedLoadIsRetriedAndSuccessIsCached) {
    SetBinResourceLoader(FlakyLoader);
    char name[256] = "untouched";
    EXPECT_FALSE(LookupCountryName("XQ", name));
    EXPECT_STREQ(name, "untouched");
    EXPECT_TRUE(LookupCountryName("xq", name) && LookupCountryName("XQ", name));
    EXPECT_STREQ(name, "TESTS");
    EXPECT_EQ(loaderCalls, 2);
    SetBinResourceLoader(nullptr);  // no loader at all: every table is missing
    EXPECT_EQ(GetBinResource(IDR_BIN_STATE), nullptr);
    InstallBinFileLoader(OL_GENERATED_DIR);
}

}  // namespace
