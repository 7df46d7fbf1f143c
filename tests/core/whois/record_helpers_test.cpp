// The helpers every parser shares, one row per rule from
// tests/data/whois/cases/helpers.tsv, and AnswerReader, which must walk any
// text exactly as NextLine and SplitKeyValue do.

#include "whois/record_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "whois/answer_reader.h"
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
    std::snprintf(out, sizeof out, "%s", op == "CopyBounded" ? "untouched" : a.c_str());
    std::string shown;
    if (op == "Lines") {
        ExpectSameWalk(a);
        for (size_t at = 0; shown.size() < 9000 && NextLine(a.c_str(), &at, r.line);)
            shown += std::string(r.line) + "|";
    } else if (op == "Walk") {
        ExpectSameWalk(a);
    } else if (op == "Split") {
        shown = SplitKeyValue(&r) ? std::string(r.key) + "=" + r.value : "-";
    } else if (op == "KeyIs" || op == "ValueIs") {
        SplitKeyValue(&r);
        shown = (op == "KeyIs" ? KeyIs(&r, b.c_str()) : ValueIs(&r, b.c_str())) ? "yes" : "no";
    } else if (op == "CopyBounded") {
        shown = CopyBounded(out, std::stoi(b), a.c_str());
    } else if (op == "AppendBounded") {
        shown = AppendBounded(out, b.c_str());
    } else if (op == "AppendAddressPart") {
        AppendAddressPart(out, b.c_str());
        shown = out;
    } else if (op == "FindNoCase") {
        shown = std::to_string(FindNoCase(a.c_str(), b.c_str()));
    } else if (op == "ParseAddressRange") {
        r.fromIp = 0x01010101;  // 1.1.1.1 - 9.9.9.9 before, to see what is left alone
        r.toIp = 0x09090909;
        ParseAddressRange(&r);
        shown = Quad(r.fromIp) + " - " + Quad(r.toIp);
    } else if (op == "ParseCidrRange") {
        uint32_t first = 0x09090909, last = 0x09090909;
        shown = ParseCidrRange(a.c_str(), &first, &last) ? "" : "none ";
        shown += Quad(first) + " - " + Quad(last);
    } else if (op == "PickAbuseAddress") {
        shown = PickAbuseAddress(a.c_str(), out) ? out : "-";
    } else if (op == "CapitalizeWords") {
        CapitalizeWords(out);
        shown = out;
    } else {
        ADD_FAILURE() << "no helper " << op;
    }
    return shown;
}

TEST(RecordHelpers, Rows) {
    std::ifstream in(std::string(OL_TEST_DATA_DIR) + "/whois/cases/helpers.tsv", std::ios::binary);
    ASSERT_TRUE(in.good());
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::string column[4];
        for (size_t c = 0, at = 0; c < 4 && at <= line.size(); ++c) {
            const size_t tab = std::min(line.find('\t', at), line.size());
            column[c] = Unescape(line.substr(at, tab - at));
            at = tab + 1;
        }
        EXPECT_EQ(RunHelper(column[0], column[1], column[2]), column[3]) << line.substr(0, 120);
        ++rows;
    }
    EXPECT_GT(rows, 50);
    const std::string sample = "country: NL\r\naddress: x\n";
    for (size_t cut = 0; cut <= sample.size(); ++cut) {
        ExpectSameWalk(sample.substr(cut));
        ExpectSameWalk(sample.substr(0, cut));
    }
}

TEST(AnswerReader, WalksEveryRealAnswerAsNextLineDoes) {
    for (const auto& [file, registry] : WhoisAnswerFiles()) ExpectSameWalk(ReadWhoisAnswer(file));
}

}  // namespace
