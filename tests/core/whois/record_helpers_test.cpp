#include "whois/record_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "whois_test_support.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    char buffer[1024];
    size_t position = 0;
    while (NextLine(text.c_str(), &position, buffer)) {
        lines.emplace_back(buffer);
        if (lines.size() > 100) break;  // a loop that does not advance
    }
    return lines;
}

TEST(NextLine, LineEndsAreCrLfLfOrLoneCr) {
    const std::vector<std::string> expected = {"a: 1", "", "b: 2", "c"};
    EXPECT_EQ(Lines("a: 1\r\n\r\nb: 2\r\nc\r\n"), expected);
    EXPECT_EQ(Lines("a: 1\n\nb: 2\nc\n"), expected);
    EXPECT_EQ(Lines("a: 1\r\rb: 2\rc\r"), expected);
    EXPECT_EQ(Lines("a: 1\n\nb: 2\nc"), expected);                         // no line end at the very end
    EXPECT_EQ(Lines("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));  // LF CR is two line ends
    EXPECT_EQ(Lines("a\r\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(Lines("").empty());
    EXPECT_EQ(Lines("\n"), (std::vector<std::string>{""}));
}

TEST(NextLine, LongLinesAreCutAndTheRestSkipped) {
    const std::string text = std::string(1500, 'x') + "\nnext: line\n";
    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(1022, 'x'));
    EXPECT_EQ(lines[1], "next: line");
}

TEST(NextLine, PositionStaysOnTheTerminatingNul) {
    char buffer[1024];
    size_t position = 0;
    ASSERT_TRUE(NextLine("last", &position, buffer));
    EXPECT_EQ(position, 4u);
    EXPECT_FALSE(NextLine("last", &position, buffer));
    EXPECT_EQ(position, 4u);
}

struct SplitResult {
    bool ok;
    std::string key;
    std::string value;
};

SplitResult Split(const char* line) {
    WhoisRecord record;
    ClearRecord(&record);
    strcpy(record.line, line);
    const bool ok = SplitKeyValue(&record);
    if (!ok) return {false, "", ""};
    return {true, record.key, record.value};
}

TEST(SplitKeyValue, ValueStartsAfterTheColonAndItsBlanks) {
    for (const char* line : {"netname:EXAMPLE-NET", "netname:   EXAMPLE-NET", "netname:\t \tEXAMPLE-NET"}) {
        const SplitResult r = Split(line);
        EXPECT_TRUE(r.ok) << line;
        EXPECT_EQ(r.key, "netname");
        EXPECT_EQ(r.value, "EXAMPLE-NET");
    }
    const SplitResult trailing = Split("descr: text  ");
    EXPECT_EQ(trailing.value, "text  ");
    const SplitResult url = Split("remarks: see http://example.net/");
    EXPECT_EQ(url.key, "remarks");
    EXPECT_EQ(url.value, "see http://example.net/");
    EXPECT_EQ(Split("netname:").value, "");
}

TEST(SplitKeyValue, KeysAreNotTrimmed) {
    WhoisRecord record;
    ClearRecord(&record);
    strcpy(record.line, "netname : EXAMPLE");
    ASSERT_TRUE(SplitKeyValue(&record));
    EXPECT_FALSE(KeyIs(&record, "netname"));
    strcpy(record.line, "  netname: EXAMPLE");
    ASSERT_TRUE(SplitKeyValue(&record));
    EXPECT_FALSE(KeyIs(&record, "netname"));
}

TEST(SplitKeyValue, CommentsAndLinesWithoutColonAreRejected) {
    EXPECT_FALSE(Split("% Abuse contact: abuse@example.net").ok);
    EXPECT_FALSE(Split("no colon here").ok);
    EXPECT_FALSE(Split("").ok);
    EXPECT_TRUE(Split("# comment: with colon").ok);  // only % marks a comment
}

TEST(KeyIsAndValueIs, WholeStringIgnoringAsciiCase) {
    WhoisRecord record;
    ClearRecord(&record);
    strcpy(record.line, "OrgName:RIPE ");
    ASSERT_TRUE(SplitKeyValue(&record));
    EXPECT_TRUE(KeyIs(&record, "orgname"));
    EXPECT_FALSE(KeyIs(&record, "org"));
    EXPECT_FALSE(KeyIs(&record, "orgnames"));
    EXPECT_FALSE(ValueIs(&record, "ripe"));  // the trailing blank counts
    strcpy(record.line, "OrgId:rIpE");
    ASSERT_TRUE(SplitKeyValue(&record));
    EXPECT_TRUE(ValueIs(&record, "ripe"));
    strcpy(record.line, "\xC4:\xC4");
    ASSERT_TRUE(SplitKeyValue(&record));
    EXPECT_FALSE(KeyIs(&record, "\xE4"));  // only ASCII letters fold
    EXPECT_TRUE(ValueIs(&record, "\xC4"));
}

TEST(CopyBounded, KeepsAtMostCapacityMinusOne) {
    char field[256];
    const std::string value(300, 'v');
    CopyBounded(field, 255, value.c_str());
    EXPECT_EQ(std::string(field), std::string(254, 'v'));
    CopyBounded(field, 255, std::string(254, 'w').c_str());
    EXPECT_EQ(std::strlen(field), 254u);
    char small[4] = "xyz";
    CopyBounded(small, 1, "abc");
    EXPECT_STREQ(small, "");
}

TEST(AppendBounded, AllOrNothing) {
    char field[256];
    std::string have(250, 'a');
    strcpy(field, have.c_str());
    AppendBounded(field, "12345678");
    EXPECT_EQ(std::string(field), have);
    have.assign(246, 'a');
    strcpy(field, have.c_str());
    AppendBounded(field, "12345678");
    EXPECT_EQ(std::strlen(field), 254u);
}

TEST(AppendAddressPart, SeparatorOnlyWithAPartThatFits) {
    char field[256] = "";
    AppendAddressPart(field, "");
    EXPECT_STREQ(field, "");
    AppendAddressPart(field, "Street 1");
    AppendAddressPart(field, "");
    AppendAddressPart(field, "City");
    EXPECT_STREQ(field, "Street 1, City");
    const std::string full(240, 'a');
    strcpy(field, full.c_str());
    AppendAddressPart(field, "twelve chars");  // 240 + 2 + 12 = 254 fits
    EXPECT_EQ(std::string(field), full + ", twelve chars");
    strcpy(field, full.c_str());
    AppendAddressPart(field, "thirteen char");  // one more does not
    EXPECT_EQ(std::string(field), full);
    AppendAddressPart(field, "x");
    EXPECT_EQ(std::string(field), full + ", x");
}

TEST(FindNoCase, IndexOrMinusOne) {
    EXPECT_EQ(FindNoCase("Report-ABUSE@example.net", "abuse"), 7);
    EXPECT_EQ(FindNoCase("abuse", "abuse"), 0);
    EXPECT_EQ(FindNoCase("abus", "abuse"), -1);
    EXPECT_EQ(FindNoCase("", "abuse"), -1);
    EXPECT_EQ(FindNoCase("noc@example.net", "abuse"), -1);
    EXPECT_EQ(FindNoCase("aaab", "aab"), 1);
}

void Range(const char* value, uint32_t* from, uint32_t* to) {
    WhoisRecord record;
    ClearRecord(&record);
    record.fromIp = *from;
    record.toIp = *to;
    strcpy(record.line, value);
    record.value = record.line;
    ParseAddressRange(&record);
    *from = record.fromIp;
    *to = record.toIp;
}

TEST(ParseAddressRange, SeparatorsAndNoise) {
    for (const char* value : {"192.0.2.0 - 192.0.2.255", "192.0.2.0-192.0.2.255", "192.0.2.0, 192.0.2.255",
                              "192.0.2.0 -- 192.0.2.255 ", "from 192.0.2.0 to 192.0.2.255 and 10.0.0.1"}) {
        uint32_t from = 0, to = 0;
        Range(value, &from, &to);
        EXPECT_EQ(Quad(from), "192.0.2.0") << value;
        EXPECT_EQ(Quad(to), "192.0.2.255") << value;
    }
    uint32_t from = Ip("1.1.1.1"), to = Ip("9.9.9.9");
    Range("192.0.2.7", &from, &to);  // one address: the end stays
    EXPECT_EQ(Quad(from), "192.0.2.7");
    EXPECT_EQ(Quad(to), "9.9.9.9");
    Range("192.0.2.0/24 - 192.0.2.256\t192.0.2.1", &from, &to);  // nothing qualifies
    EXPECT_EQ(Quad(from), "192.0.2.7");
    EXPECT_EQ(Quad(to), "9.9.9.9");
}

std::string Pick(const char* value) {
    char out[256] = "untouched";
    return PickAbuseAddress(value, out) ? std::string(out) : std::string("-");
}

TEST(PickAbuseAddress, FirstTokenStartingWithAbuseAt) {
    EXPECT_EQ(Pick("write to ABUSE@example.net, please"), "ABUSE@example.net");
    EXPECT_EQ(Pick("mailto:abuse@example.net"), "abuse@example.net");
    EXPECT_EQ(Pick("(abuse@example.net); 'abuse@second.example'"), "abuse@example.net");
    EXPECT_EQ(Pick("\"abuse@example.net\""), "abuse@example.net");
    EXPECT_EQ(Pick("[Abuse@example.net]"), "Abuse@example.net");
    EXPECT_EQ(Pick("<abuse@example.net>"), "-");
    EXPECT_EQ(Pick("noc@example.net abuse-desk@example.net"), "-");
    EXPECT_EQ(Pick("abuse at example.net"), "-");
    EXPECT_EQ(Pick("x@y abuse@"), "abuse@");
    const std::string longToken = "abuse@" + std::string(300, 'a');
    EXPECT_EQ(Pick(longToken.c_str()), longToken.substr(0, 254));
}

}  // namespace
