#include "whois/arin_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "whois_test_support.h"

namespace {

struct ArinParse {
    WhoisRecord record;
    int result;
    explicit ArinParse(const std::string& answer) { result = ParseAnswer(&record, 1, answer.c_str()); }
};

TEST(ArinParser, OrgIdOfAnotherRegistryIsAReferral) {
    EXPECT_EQ(ArinParse("NetName: X\nOrgId: RIPE\n").result, 2);
    EXPECT_EQ(ArinParse("OrgId: ripe\n").result, 2);
    EXPECT_EQ(ArinParse("orgid: APNIC\n").result, 3);
    EXPECT_EQ(ArinParse("OrgID: LACNIC\n").result, 4);
    EXPECT_EQ(ArinParse("OrgId: AfriNIC\n").result, 5);
    EXPECT_EQ(ArinParse("OrgId: RIPE-NCC\n").result, 0);
    EXPECT_EQ(ArinParse("OrgId: RIPE \n").result, 0);  // whole value, trailing blank included
    EXPECT_EQ(ArinParse("OrgName: RIPE\nNetName: RIPE\n").result, 0);
}

TEST(ArinParser, IanaIsNotAllocatedButParsingGoesOn) {
    ArinParse p(
        "NetRange: 0.0.0.0 - 0.255.255.255\nNetName: SPECIAL-IPV4\nOrgId: IANA\nOrgName: Internet "
        "Assigned Numbers Authority\nCountry: US\n");
    EXPECT_EQ(p.result, 0);
    EXPECT_EQ(p.record.allocated, 1);
    EXPECT_STREQ(p.record.ownerName, "Internet Assigned Numbers Authority");
    EXPECT_STREQ(p.record.country, "United States");
    EXPECT_EQ(p.record.whoisSource, 1);
}

TEST(ArinParser, CountryFirstWinsAndStateReplacesIt) {
    EXPECT_STREQ(ArinParse("Country: US\nStateProv: VA\n").record.country, "USA - Virginia");
    EXPECT_STREQ(ArinParse("Country: US\nStateProv: ON\n").record.country, "United States");
    EXPECT_STREQ(ArinParse("Country: DE\nCountry: FR\n").record.country, "Germany");
    EXPECT_STREQ(ArinParse("Country: DE\nCountry: FR\nStateProv: CA\n").record.country, "USA - California");
    EXPECT_STREQ(ArinParse("StateProv: NY\nCountry: DE\n").record.country, "USA - New York");
    EXPECT_STREQ(ArinParse("Country: EU\nCountry: DE\n").record.country, "EU");
    EXPECT_STREQ(ArinParse("Country: USA\n").record.country, "USA");  // third character not a blank
    EXPECT_STREQ(ArinParse("Country: DE # office\n").record.country, "Germany");
    EXPECT_STREQ(ArinParse("Country: D\n").record.country, "D");
}

TEST(ArinParser, AddressComesFromTheLastBlockWithOne) {
    ArinParse p(
        "OrgName: First\nAddress: 1 First St\nCity: Firsttown\n\nOrgName: Second\nAddress: 2 Second "
        "Ave\nAddress: Floor 3\nCity: Secondville\nPostalCode: 12345\n\nOrgTechName: x\nCity:\n");
    EXPECT_STREQ(p.record.address, "2 Second Ave, Floor 3, Secondville");
    EXPECT_STREQ(p.record.ownerName, "Second");
    // A line starting with a blank also starts a block.
    EXPECT_STREQ(ArinParse("Address: A\n continued\nCity: B\n").record.address, "B");
}

TEST(ArinParser, AbusePhoneWinsWhateverTheOrder) {
    EXPECT_STREQ(ArinParse("OrgTechPhone: 1\nOrgAbusePhone: 2\n").record.phone, "2");
    EXPECT_STREQ(ArinParse("OrgAbusePhone: 2\nOrgTechPhone: 1\n").record.phone, "2");
    EXPECT_STREQ(ArinParse("TechPhone: 1\nOrgTechPhone: 3\n").record.phone, "1");
    EXPECT_STREQ(ArinParse("OrgAbusePhone: 2\nOrgAbusePhone: 4\n").record.phone, "4");
}

TEST(ArinParser, EmailsLastOneWins) {
    ArinParse p(
        "OrgTechEmail: tech1@example.net\nTechEmail: tech2@example.net\nOrgAbuseEmail: "
        "a1@example.net\nAbuseEmail: a2@example.net\n");
    EXPECT_STREQ(p.record.email, "tech2@example.net");
    EXPECT_STREQ(p.record.abuseEmail, "a2@example.net");
    ArinParse onlyTech("NetName: N\nOrgTechEmail: noc@example.net\n");
    EXPECT_STREQ(onlyTech.record.email, "noc@example.net");
    EXPECT_STREQ(onlyTech.record.abuseEmail, "");
}

TEST(ArinParser, FirstAbuseAddressFillsAnEmptyAbuseEmail) {
    ArinParse p("Comment: report to abuse@first.example\nOrgTechEmail: abuse@second.example\n");
    EXPECT_STREQ(p.record.abuseEmail, "abuse@first.example");
    ArinParse direct("Comment: abuse@first.example\nOrgAbuseEmail: security@example.net\n");
    EXPECT_STREQ(direct.record.abuseEmail, "security@example.net");
}

TEST(ArinParser, NothingUsableMeansNotAllocated) {
    ArinParse nothing(
        "#\n# No match found for n + 198.51.100.7.\n# contact abuse@example.net\nComment: "
        "mail abuse@example.net\n");
    EXPECT_EQ(nothing.result, 0);
    EXPECT_EQ(nothing.record.allocated, 1);
    EXPECT_STREQ(nothing.record.abuseEmail, "abuse@example.net");
    EXPECT_EQ(ArinParse("NetName: X\n").record.allocated, 2);
    EXPECT_EQ(ArinParse("OrgName: X\n").record.allocated, 2);
    EXPECT_EQ(ArinParse("NetRange: 192.0.2.0 - 192.0.2.255\n").record.allocated, 2);
    EXPECT_EQ(ArinParse("").record.allocated, 1);
}

TEST(ArinParser, LastNetRangeWins) {
    ArinParse p("NetRange: 10.0.0.0 - 10.255.255.255\n\nNetRange: 10.1.0.0 - 10.1.255.255\n");
    EXPECT_EQ(Quad(p.record.fromIp), "10.1.0.0");
    EXPECT_EQ(Quad(p.record.toIp), "10.1.255.255");
}

}  // namespace
