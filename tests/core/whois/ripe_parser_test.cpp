#include "whois/ripe_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "whois_test_support.h"

namespace {

struct RipeParse {
    WhoisRecord record;
    int result;
    explicit RipeParse(const std::string& answer, int registry = 2) {
        result = ParseAnswer(&record, registry, answer.c_str());
    }
};

const char kInetnum[] =
    "inetnum:        192.0.2.0 - 192.0.2.255\n"
    "netname:        EXAMPLE-NET\n"
    "descr:          Example Owner\n"
    "descr:          Second descr\n"
    "descr:          Third descr\n"
    "country:        NL\n"
    "admin-c:        AB1-RIPE\n"
    "tech-c:         XY1-RIPE\n"
    "source:         RIPE\n"
    "\n";

const char kRole[] =
    "role:           Example Role\n"
    "address:        Role Street 1\n"
    "phone:          +31 1\n"
    "e-mail:         role@example.net\n"
    "nic-hdl:        XY1-RIPE\n"
    "source:         RIPE\n"
    "\n";

const char kPerson[] =
    "person:         Example Person\n"
    "address:        Person Street 2\n"
    "address:        Amsterdam\n"
    "phone:          +31 2\n"
    "fax-no:         +31 3\n"
    "e-mail:         person@example.net\n"
    "nic-hdl:        AB1-RIPE\n"
    "source:         RIPE\n"
    "\n";

void ExpectPersonContact(const WhoisRecord& r) {
    EXPECT_STREQ(r.contactName, "Example Person");
    EXPECT_STREQ(r.address, "Person Street 2, Amsterdam");
    EXPECT_STREQ(r.phone, "+31 2");
    EXPECT_STREQ(r.fax, "+31 3");
    EXPECT_STREQ(r.email, "person@example.net");
}

TEST(RipeParser, AdminContactReplacesAnEarlierCommittedOne) {
    RipeParse p(std::string(kInetnum) + kRole + kPerson);
    EXPECT_EQ(p.result, 0);
    ExpectPersonContact(p.record);
    EXPECT_STREQ(p.record.ownerName, "Example Owner");
    EXPECT_STREQ(p.record.networkName, "EXAMPLE-NET");
    EXPECT_STREQ(p.record.country, "Netherlands");
    EXPECT_EQ(Quad(p.record.fromIp), "192.0.2.0");
    EXPECT_EQ(Quad(p.record.toIp), "192.0.2.255");
    EXPECT_EQ(p.record.whoisSource, 2);
    EXPECT_EQ(p.record.allocated, 2);
}

TEST(RipeParser, LaterUnmatchedContactDoesNotReplaceACommittedOne) {
    RipeParse p(std::string(kInetnum) + kPerson + kRole);
    ExpectPersonContact(p.record);
}

TEST(RipeParser, FirstContactIsCommittedWhenNoneMatches) {
    RipeParse p(std::string(kInetnum) + kRole);
    EXPECT_STREQ(p.record.contactName, "Example Role");
    EXPECT_STREQ(p.record.address, "Role Street 1");
    EXPECT_STREQ(p.record.email, "role@example.net");
}

TEST(RipeParser, CommitCopiesEmptyFieldsToo) {
    // The admin object has no fax and no e-mail: the role's values go.
    RipeParse p(std::string(kInetnum) + kRole + "person: Admin\naddress: A 1\nnic-hdl: ab1-ripe\nsource: RIPE\n");
    EXPECT_STREQ(p.record.contactName, "Admin");
    EXPECT_STREQ(p.record.address, "A 1");
    EXPECT_STREQ(p.record.email, "");
    EXPECT_STREQ(p.record.phone, "");
}

TEST(RipeParser, ContactWithoutSourceIsCommittedAtBlankLineOrEnd) {
    RipeParse blank(std::string(kInetnum) + "person: P\naddress: Street\n\nroute: 192.0.2.0/24\n");
    EXPECT_STREQ(blank.record.address, "Street");
    EXPECT_STREQ(blank.record.contactName, "P");
    RipeParse end(std::string(kInetnum) + "person: P\naddress: Street\ne-mail: p@example.net");
    EXPECT_STREQ(end.record.address, "Street");
    EXPECT_STREQ(end.record.email, "p@example.net");
}

TEST(RipeParser, OwnerIsTheFirstDescrOfTheLastInetnum) {
    RipeParse p(std::string(kInetnum) + "route: 192.0.2.0/24\ndescr: Route descr\n\n");
    EXPECT_STREQ(p.record.ownerName, "Example Owner");
    RipeParse two(std::string(kInetnum) + "inetnum: 192.0.2.128 - 192.0.2.191\nnetname: CHILD\ndescr: Child\n");
    EXPECT_STREQ(two.record.ownerName, "Child");
    EXPECT_STREQ(two.record.networkName, "CHILD");
    EXPECT_EQ(Quad(two.record.fromIp), "192.0.2.128");
    RipeParse none("inetnum: 192.0.2.0 - 192.0.2.255\nnetname: X\n\ndescr: elsewhere\n");
    EXPECT_STREQ(none.record.ownerName, "");
}

TEST(RipeParser, AfrinicOrganisationIsAReferral) {
    EXPECT_EQ(RipeParse(std::string(kInetnum) + "org: ORG-AFNC1-RIPE\n").result, 5);
    EXPECT_EQ(RipeParse("org: org-afnc1-ripe\n").result, 5);
    EXPECT_EQ(RipeParse(std::string(kInetnum) + kPerson + "ORG:ORG-AfNc1-RIPE").result, 5);
    EXPECT_EQ(RipeParse("org: ORG-AFNC1-RIPE # note\n").result, 0);
    EXPECT_EQ(RipeParse("organisation: ORG-AFNC1-RIPE\n").result, 0);
}

TEST(RipeParser, CountryLastKnownCodeWins) {
    EXPECT_STREQ(RipeParse("country: EU # Country is really world wide\n").record.country,
                 "EU # Country is really world wide");
    EXPECT_STREQ(RipeParse("country: EU\ncountry: DE\n").record.country, "Germany");
    EXPECT_STREQ(RipeParse("country: DE\ncountry: FR\n").record.country, "France");
    EXPECT_STREQ(RipeParse("country: DE\ncountry: EU\n").record.country, "Germany");
    EXPECT_STREQ(RipeParse("country: XX\ncountry: YY\n").record.country, "XX");
}

TEST(RipeParser, TroubleLineGivesTheAbuseAddress) {
    EXPECT_STREQ(RipeParse("trouble: Abuse reports (abuse@example.net)\n").record.abuseEmail, "abuse@example.net");
    EXPECT_STREQ(RipeParse("trouble: send spam to <spam@example.net>\n").record.abuseEmail, "<spam@example.net>");
    // A later trouble line replaces one without "abuse", not one with it.
    EXPECT_STREQ(RipeParse("trouble: noc@example.net\ntrouble: help@example.net\n").record.abuseEmail,
                 "help@example.net");
    EXPECT_STREQ(RipeParse("trouble: abuse@example.net\ntrouble: help@example.net\n").record.abuseEmail,
                 "abuse@example.net");
    EXPECT_STREQ(RipeParse("trouble: no address here\n").record.abuseEmail, "");
    // Otherwise the first abuse@ token of any value.
    EXPECT_STREQ(RipeParse("remarks: abuse@first.example\nabuse-mailbox: abuse@second.example\n").record.abuseEmail,
                 "abuse@first.example");
}

TEST(RipeParser, CommentLinesAreIgnored) {
    RipeParse p("% Abuse contact for '192.0.2.0 - 192.0.2.255' is 'abuse@example.net'\n%netname: NO\n");
    EXPECT_STREQ(p.record.abuseEmail, "");
    EXPECT_STREQ(p.record.networkName, "");
}

TEST(RipeParser, StoresTheRegistryAsked) {
    EXPECT_EQ(RipeParse("", 3).record.whoisSource, 3);
    EXPECT_EQ(RipeParse("", 5).record.whoisSource, 5);
    RipeParse p("", 3);
    EXPECT_EQ(p.record.allocated, 2);  // never touched
}

TEST(RipeParser, EmptyNicHdlMatchesEmptyAdminHandle) {
    RipeParse p(
        "inetnum: 192.0.2.0 - 192.0.2.255\n\nperson: First\naddress: F\nsource: RIPE\n\nperson: "
        "Second\naddress: S\nnic-hdl:\nsource: RIPE\n");
    EXPECT_STREQ(p.record.contactName, "Second");
}

TEST(CopyContactFields, CopiesTheFiveContactFieldsWhole) {
    WhoisRecord source, destination;
    ClearRecord(&source);
    ClearRecord(&destination);
    strcpy(source.email, "e");
    strcpy(source.address, "a");
    strcpy(source.contactName, "c");
    strcpy(destination.phone, "old phone");
    strcpy(destination.fax, "old fax");
    strcpy(destination.ownerName, "owner");
    CopyContactFields(&source, &destination);
    EXPECT_STREQ(destination.email, "e");
    EXPECT_STREQ(destination.address, "a");
    EXPECT_STREQ(destination.phone, "");
    EXPECT_STREQ(destination.fax, "");
    EXPECT_STREQ(destination.contactName, "c");
    EXPECT_STREQ(destination.ownerName, "owner");
}

}  // namespace
