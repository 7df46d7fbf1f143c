// The parsers walk answers with AnswerReader; it must give exactly the lines,
// keys and values of NextLine and SplitKeyValue, and the keyword answers of
// KeyIs.

#include "whois/answer_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "whois/record_helpers.h"
#include "whois_test_support.h"

namespace {

const char* const kKeywordTexts[] = {"org",     "orgid",         "address",      "e-mail",  "nic-hdl",
                                     "netname", "orgabusephone", "orgtechemail", "country", "x"};
const Keyword kKeywords[] = {Keyword("org"),     Keyword("orgid"),   Keyword("address"),       Keyword("e-mail"),
                             Keyword("nic-hdl"), Keyword("netname"), Keyword("orgabusephone"), Keyword("orgtechemail"),
                             Keyword("country"), Keyword("x")};
constexpr int kKeywordCount = sizeof kKeywords / sizeof kKeywords[0];

// Walks text both ways and compares every line, split and keyword test.
void ExpectSameWalk(const std::string& text) {
    WhoisRecord slow, fast;
    ClearRecord(&slow);
    ClearRecord(&fast);
    size_t position = 0;
    AnswerReader reader(text.c_str());
    int lines = 0;
    for (;;) {
        const bool slowLine = NextLine(text.c_str(), &position, slow.line);
        const bool fastLine = reader.Next(&fast);
        ASSERT_EQ(slowLine, fastLine) << "line " << lines;
        if (!slowLine) break;
        ++lines;
        ASSERT_STREQ(slow.line, fast.line) << "line " << lines;
        const bool slowSplit = SplitKeyValue(&slow);
        ASSERT_EQ(slowSplit, reader.Split(&fast)) << "line " << lines;
        if (!slowSplit) continue;
        ASSERT_STREQ(slow.key, fast.key);
        ASSERT_STREQ(slow.value, fast.value);
        ASSERT_EQ(fast.value - fast.line, slow.value - slow.line);
        int expected = -1;
        for (int k = 0; k < kKeywordCount && expected < 0; ++k) {
            if (KeyIs(&slow, kKeywordTexts[k])) expected = k;
        }
        ASSERT_EQ(reader.Match(kKeywords, kKeywordCount), expected) << slow.key;
    }
}

TEST(AnswerReader, SameWalkAsNextLineAndSplitKeyValue) {
    const std::vector<std::string> texts = {
        "",
        "\n",
        "a",
        "OrgId: RIPE\r\nNetName:x\r\rCountry:\tDE\n\r",
        "ORG: X\nOrg : X\n org: X\n%org: X\nOrGaBuSePhOnE: 1\nORGABUSEPHONEX: 2\nE-MAIL:x\nnic-hdl:\n",
        std::string(1500, 'k') + ": value\nnetname: after\n",
        std::string(1020, 'k') + ":v\n" + std::string(1022, 'k') + ":v\n" + std::string(1023, 'k') + ":v\n",
        "key" + std::string(30, ' ') + ":" + std::string(40, ' ') + "value   \n",
        std::string("a\xC1:b\nA\xE1:b\n@[`{:z\n"),
        std::string(17, 'x') + ":v\n" + std::string(16, 'y') + ":v\nx:" + std::string(2000, ':') + "\n",
        "no line end at the end: here",
        "ends with CR\r",
        "ends with CR CR\r\r",
        "org\n:\n::\n:x\n",
    };
    for (const std::string& text : texts) ExpectSameWalk(text);
    const std::string sample = "country: NL\r\naddress: x\n";
    for (size_t cut = 0; cut <= sample.size(); ++cut) {
        ExpectSameWalk(sample.substr(cut));
        ExpectSameWalk(sample.substr(0, cut));
    }
}

TEST(AnswerReader, SameWalkOnEveryRealAnswer) {
    for (const char* file :
         {"arin/crlf_double_cr_amazon_207.217.120.54.txt", "arin/stray_cr_rpocs_krypt_174.139.55.107.txt",
          "arin/multiblock_long_comment_3.120.95.169.txt", "ripe/akamai_country_eu_2.18.111.79.txt",
          "apnic/starhub_org_abusec_171.0.0.0.txt", "lacnic/nicbr_mojibake_trailing_cr_200.165.206.74.txt",
          "lacnic/rate_limit_exceeded.txt", "afrinic/sentech_multi_adminc_66.18.70.6.txt"}) {
        ExpectSameWalk(ReadWhoisAnswer(file));
    }
}

}  // namespace
