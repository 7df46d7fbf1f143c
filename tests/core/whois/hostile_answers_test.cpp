// Answers no registry should send, but a broken or hostile server may: every
// parse must end with a bounded record, without reading or writing outside
// its buffers (the sanitizer build checks that) and in linear time.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "whois_test_support.h"

namespace {

void ExpectBounded(const WhoisRecord& r, const std::string& what) {
    const char* const fields[] = {r.ownerName, r.address, r.email,       r.abuseEmail, r.phone,
                                  r.fax,       r.country, r.networkName, r.contactName};
    for (const char* field : fields) {
        const void* nul = std::memchr(field, '\0', kFieldSize);
        ASSERT_NE(nul, nullptr) << what;
        EXPECT_LE(static_cast<const char*>(nul) - field, 254) << what;
    }
    EXPECT_NE(std::memchr(r.line, '\0', sizeof r.line), nullptr) << what;
}

std::string Repeat(const std::string& part, size_t bytes) {
    std::string out;
    out.reserve(bytes + part.size());
    while (out.size() < bytes) out += part;
    return out;
}

std::vector<std::pair<std::string, std::string>> HostileAnswers() {
    std::vector<std::pair<std::string, std::string>> answers;
    answers.emplace_back("empty", "");
    answers.emplace_back("one long line without line end", std::string(3 << 20, 'k'));
    answers.emplace_back("one long key/value without line end", "netname: " + std::string(2 << 20, 'v'));
    answers.emplace_back("only separators", Repeat(":", 1 << 20));
    answers.emplace_back("only line ends", Repeat("\r\n\n\r", 1 << 20));
    answers.emplace_back("only blanks and tabs", Repeat(" \t", 1 << 20));
    answers.emplace_back("colons and percent", Repeat("%:%::\n", 1 << 20));
    answers.emplace_back("megabytes of address", Repeat("address: Street of a very long name 12345\n", 2 << 20));
    answers.emplace_back("megabytes of person", Repeat("person: P\naddress: A\nnic-hdl: \nsource: X\n", 2 << 20));
    answers.emplace_back("megabytes of at signs", Repeat("remarks: x@y @@@ a@b,c@d;e@f\n", 2 << 20));
    answers.emplace_back("megabytes of trouble", Repeat("trouble: x@y\n", 1 << 20));
    answers.emplace_back(
        "megabytes of ranges",
        Repeat("inetnum: 1.2.3.4 - 5.6.7.8 - - - ,,, 999.1.1.1\nNetRange: 1.1.1.1-2.2.2.2\n", 2 << 20));
    answers.emplace_back("long values of every keyword",
                         Repeat("NetName: " + std::string(600, 'n') + "\nOrgName: " + std::string(600, 'o') +
                                    "\nCountry: " + std::string(600, 'c') + "\ndescr: " + std::string(600, 'd') +
                                    "\ninetnum: " + std::string(600, '1') + "/24\n",
                                1 << 20));
    std::string withNul = "netname: BEFORE\n";
    withNul += '\0';
    withNul += "netname: AFTER\n";
    answers.emplace_back("NUL inside", withNul);
    std::string binary;
    for (int i = 0; i < (1 << 20); ++i) binary += static_cast<char>((i * 131 + 7) % 255 + 1);
    answers.emplace_back("binary bytes", binary);
    return answers;
}

TEST(HostileAnswers, EveryParserEndsWithABoundedRecord) {
    for (const auto& [what, answer] : HostileAnswers()) {
        for (int registry = 1; registry <= 5; ++registry) {
            WhoisRecord record;
            const int result = ParseAnswer(&record, registry, answer.c_str());
            EXPECT_GE(result, 0) << what;
            EXPECT_LE(result, 5) << what;
            ExpectBounded(record, what + " / registry " + std::to_string(registry));
            EXPECT_EQ(record.whoisSource, registry) << what;
        }
    }
}

TEST(HostileAnswers, TextEndsAtTheFirstNul) {
    std::string answer = "netname: BEFORE\n";
    answer += '\0';
    answer += "netname: AFTER\n";
    for (int registry : {1, 2}) {
        WhoisRecord record;
        ParseAnswer(&record, registry, answer.c_str());
        EXPECT_STREQ(record.networkName, "BEFORE");
    }
}

TEST(HostileAnswers, OverlongValuesAreCut) {
    const std::string longValue(1500, 'x');
    WhoisRecord record;
    ParseAnswer(&record, 1, ("NetName: " + longValue + "\nOrgName: " + longValue + "\n").c_str());
    EXPECT_EQ(std::string(record.networkName), std::string(254, 'x'));
    EXPECT_EQ(std::string(record.ownerName), std::string(254, 'x'));
    ParseAnswer(&record, 2, ("descr: x\ninetnum: 1.1.1.1 - 1.1.1.2\ndescr: " + longValue + "\n").c_str());
    EXPECT_EQ(std::string(record.ownerName), std::string(254, 'x'));
}

TEST(HostileAnswers, EveryKeywordWithAnEmptyValue) {
    const char* arin =
        "OrgId:\nNetName:\nOrgName:\nAddress:\nCity:\nCountry:\nStateProv:\nNetRange:\nOrgAbuseEmail:\n"
        "AbuseEmail:\nOrgTechEmail:\nTechEmail:\nOrgTechPhone:\nTechPhone:\nOrgAbusePhone:\n";
    const char* ripe =
        "inetnum:\nnetname:\ndescr:\ncountry:\nadmin-c:\norg:\ntrouble:\n\nperson:\naddress:\nphone:\n"
        "fax-no:\ne-mail:\nnic-hdl:\nsource:\n\nrole:\naddress:\nsource:\n";
    const char* lacnic = "inetnum:\nowner:\nownerid:\ncountry:\nphone:\ne-mail:\nperson:\naddress:\n\naddress:\n";
    for (const auto& [registry, answer] : {std::pair<int, const char*>{1, arin}, {2, ripe}, {4, lacnic}}) {
        WhoisRecord record;
        EXPECT_EQ(ParseAnswer(&record, registry, answer), 0);
        ExpectBounded(record, answer);
        for (const char* field : {record.ownerName, record.address, record.email, record.abuseEmail, record.phone,
                                  record.fax, record.country, record.networkName, record.contactName}) {
            EXPECT_STREQ(field, "") << registry;
        }
        EXPECT_EQ(record.fromIp, 0u);
        EXPECT_EQ(record.toIp, 0u);
        EXPECT_EQ(record.allocated, registry == 1 ? 1 : 2);
    }
}

}  // namespace
