#include "whois/lacnic_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "whois_test_support.h"

namespace {

struct LacnicParse {
    WhoisRecord record;
    int result;
    explicit LacnicParse(const std::string& answer) { result = ParseAnswer(&record, 4, answer.c_str()); }
};

std::string Cidr(const char* text) {
    uint32_t first = Ip("9.9.9.9"), last = Ip("9.9.9.9");
    if (!ParseCidrRange(text, &first, &last)) {
        EXPECT_EQ(Quad(first), "9.9.9.9") << "outputs must stay untouched";
        EXPECT_EQ(Quad(last), "9.9.9.9");
        return "none";
    }
    return Quad(first) + " - " + Quad(last);
}

TEST(ParseCidrRange, ShortenedAndFullPrefixes) {
    EXPECT_EQ(Cidr("200.160/12"), "200.160.0.0 - 200.175.255.255");
    EXPECT_EQ(Cidr("200.160.3/24"), "200.160.3.0 - 200.160.3.255");
    EXPECT_EQ(Cidr("200.160.3.7/24"), "200.160.3.7 - 200.160.3.255");  // host bits kept
    EXPECT_EQ(Cidr("200.160.3.7/32"), "200.160.3.7 - 200.160.3.7");
    EXPECT_EQ(Cidr("200/8"), "200.0.0.0 - 200.255.255.255");
    EXPECT_EQ(Cidr("128.0.0.0/1"), "128.0.0.0 - 255.255.255.255");
    EXPECT_EQ(Cidr("200.160.0.0/ 16"), "200.160.0.0 - 200.160.255.255");
    EXPECT_EQ(Cidr("200.160.0.0/+16"), "200.160.0.0 - 200.160.255.255");
    EXPECT_EQ(Cidr("200.160.0.0/16 (note)"), "200.160.0.0 - 200.160.255.255");
    EXPECT_EQ(Cidr("1.2.3.4./24"), "1.2.3.4 - 1.2.3.255");
    EXPECT_EQ(Cidr("200.160.x/16"), "200.160.0.0 - 200.160.255.255");  // groups before the bad one
}

TEST(ParseCidrRange, NoRangeCases) {
    for (const char* text :
         {"0/8", "0.0.0.0/8", "200.160/0", "200.160/", "200.160/x", "200.160/33", "200.160/-8", "200.160/4294967320",
          "200.160.0.0 - 200.175.255.255", "", "/24", "x/24", "256.1/16", "2001:db8::/32"}) {
        EXPECT_EQ(Cidr(text), "none") << text;
    }
    const std::string longText = std::string(300, '1') + "/24";  // the slash falls beyond 254 characters
    EXPECT_EQ(Cidr(longText.c_str()), "none");
}

TEST(LacnicParser, InetnumInPrefixNotation) {
    LacnicParse p("inetnum: 200.160/12\n");
    EXPECT_EQ(Quad(p.record.fromIp), "200.160.0.0");
    EXPECT_EQ(Quad(p.record.toIp), "200.175.255.255");
    LacnicParse range("inetnum: 200.160.0.0 - 200.175.255.255\n");
    EXPECT_EQ(range.record.fromIp, 0u);
    EXPECT_EQ(range.record.toIp, 0u);
    LacnicParse keep("inetnum: 200.160/12\ninetnum: 200.160/0\n");
    EXPECT_EQ(Quad(keep.record.fromIp), "200.160.0.0");
}

TEST(LacnicParser, FirstAndLastWins) {
    LacnicParse p(
        "owner: First Owner\nowner: Second Owner\nownerid: BR-FIRST\nownerid: BR-SECOND\nphone: "
        "+55 1\nphone: +55 2\ne-mail: first@example.net\ne-mail: second@example.net\nperson: First "
        "Person\nperson: Second Person\n");
    EXPECT_EQ(p.result, 0);
    EXPECT_STREQ(p.record.ownerName, "Second Owner");
    EXPECT_STREQ(p.record.networkName, "BR-SECOND");
    EXPECT_STREQ(p.record.phone, "+55 1");
    EXPECT_STREQ(p.record.email, "first@example.net");
    EXPECT_STREQ(p.record.contactName, "First Person");
    EXPECT_EQ(p.record.whoisSource, 4);
    EXPECT_EQ(p.record.allocated, 2);
}

TEST(LacnicParser, AddressIsTheFirstRunOfAddressLines) {
    LacnicParse p(
        "\nowner: O\naddress: Rua 1\naddress:\naddress: Sao Paulo\n\nnic-hdl: X\naddress: "
        "Contact Street\n");
    EXPECT_STREQ(p.record.address, "Rua 1, Sao Paulo");
    // A line of blanks does not end the run.
    LacnicParse blanks("address: A\n  \naddress: B\n");
    EXPECT_STREQ(blanks.record.address, "A, B");
}

TEST(LacnicParser, CountryLastKnownCodeWins) {
    EXPECT_STREQ(LacnicParse("country: BR\ncountry: AR\n").record.country, "Argentina");
    EXPECT_STREQ(LacnicParse("country: ZZ\ncountry: XX\n").record.country, "ZZ");
}

TEST(LacnicParser, AbuseAddressFromAnyValue) {
    LacnicParse p("e-mail: noc@example.net\nperson: P\ne-mail: abuse@example.net\n");
    EXPECT_STREQ(p.record.email, "noc@example.net");
    EXPECT_STREQ(p.record.abuseEmail, "abuse@example.net");
}

}  // namespace
