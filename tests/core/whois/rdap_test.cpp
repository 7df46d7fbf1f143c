// The RDAP readers besides the mapping (which parsers_test.cpp checks with
// the port-43 parsers): the answer pane's text, the rate-limit test, the
// bootstrap table and the base URLs.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "base/address_helpers.h"
#include "whois/ansi_text.h"
#include "whois/rdap_bootstrap.h"
#include "whois/rdap_parser.h"
#include "whois_test_support.h"

namespace {

// Each answer against the .pane file beside it, the exact bytes; an empty one
// means "not formatted" (no JSON gives empty text). OL_REGENERATE_EXPECTED=1
// rewrites them.
TEST(RdapPane, ShowsTheAnswerIndentedInTheAnsiCodePage) {
    const char* regenerate = std::getenv("OL_REGENERATE_EXPECTED");
    for (const std::string name :
         {"apnic/whoisit-apnic-labs_1.1.1.1", "pane/values", "pane/truncated", "pane/too_deep", "pane/deepest"}) {
        const std::string path = "rdap/" + name + ".json";
        const std::string answer = ReadTestData(path);
        std::string pane = "left over";
        const bool formatted = FormatRdapForPane(answer.data(), answer.size(), &pane);
        EXPECT_EQ(formatted, !pane.empty()) << name;
        if (regenerate && std::string(regenerate) == "1") {
            std::ofstream(std::string(OL_TEST_DATA_DIR) + "/" + path + ".pane", std::ios::binary) << pane;
            continue;
        }
        EXPECT_EQ(pane, ReadTestData(path + ".pane")) << name;
    }
}

// What the shell installs is what every text goes through.
TEST(RdapPane, AndTheRecordUseTheInstalledConversion) {
    SetUtf8ToAnsiConverter([](const char* utf8, size_t length, std::string* ansi) {
        for (size_t i = 0; i < length; ++i) {  // Latin-1 letters only, enough here
            const unsigned char c = static_cast<unsigned char>(utf8[i]);
            if (c == 0xC3 && i + 1 < length) {
                ansi->push_back(static_cast<char>(static_cast<unsigned char>(utf8[++i]) + 0x40));
            } else {
                ansi->push_back(c < 0x80 ? static_cast<char>(c) : '#');
            }
        }
    });
    const std::string answer = ReadTestData("rdap/lacnic/ipwhois-triara_200.57.141.161.json");
    WhoisRecord record;
    ASSERT_EQ(ParseRdapResponse(&record, answer.data(), answer.size(), 4), 0);
    EXPECT_STREQ(record.address,
                 "Pe\xF1"
                 "a Pobre, Insurgentes Sur 3500, Tlalpan Mexico, 14060, MX");
    std::string pane;
    const std::string text = "[\"\xC3\xA9\xE4\xB8\xAD\"]";
    EXPECT_TRUE(FormatRdapForPane(text.data(), text.size(), &pane));
    EXPECT_EQ(pane, "[\r\n  \"\xE9###\"\r\n]");
    SetUtf8ToAnsiConverter(nullptr);
}

TEST(RdapRateLimit, IsToldByErrorCodeOrNotice) {
    const std::pair<std::string, bool> cases[] = {
        {R"({"errorCode": 429, "title": "Too Many Requests"})", true},
        {R"({"errorCode": "429"})", true},
        {R"({"errorCode": 403, "title": "Rate-Limit Exceeded"})", true},
        {R"({"errorCode": 400, "notices": [{"title": "x", "description": ["", "Query rate limit exceeded"]}]})", true},
        {R"({"notices": [{"title": "Rate limits", "description": ["are never exceeded here"]}]})", false},
        {R"({"errorCode": 404, "notices": [{"title": "Rate limit"}, {"description": ["exceeded"]}]})", false},
        {R"({"errorCode": 4290})", false},
        {R"({"errorCode": 429)", false},
        {"", false},
    };
    for (const auto& [answer, limited] : cases)
        EXPECT_EQ(RdapRateLimited(answer.data(), answer.size()), limited) << answer;
    for (const auto& [file, registry] : AnswerFiles("rdap", ".json")) {
        const std::string answer = ReadTestData(file);
        EXPECT_FALSE(RdapRateLimited(answer.data(), answer.size())) << file;
    }
}

uint32_t Address(const char* text) {
    uint32_t address = 0;
    ParseDottedQuad(text, &address, 0);
    return address;
}

TEST(RdapBootstrap, TheLongestPrefixNamesTheRegistry) {
    const std::pair<const char*, int> shipped[] = {
        {"3.3.3.3", 1},  {"193.0.6.139", 2}, {"1.1.1.1", 3},   {"179.0.1.255", 4},     {"41.0.0.0", 5},
        {"10.1.2.3", 0}, {"0.0.0.0", 0},     {"127.0.0.1", 0}, {"255.255.255.255", 0}, {"196.255.255.255", 5},
    };
    for (const auto& [address, registry] : shipped) EXPECT_EQ(RdapRegistryFor(Address(address)), registry) << address;

    const RdapPrefix table[] = {{0x0A010200u, 24, 3}, {0x0A000000u, 8, 1}, {0u, 0, 4}, {0x0A010000u, 16, 2}};
    const std::pair<const char*, int> constructed[] = {
        {"10.1.2.3", 3}, {"10.1.3.0", 2}, {"10.2.0.0", 1}, {"11.0.0.0", 4}, {"10.1.2.255", 3}, {"10.1.1.255", 2},
    };
    for (const auto& [address, registry] : constructed)
        EXPECT_EQ(RdapRegistryIn(table, 4, Address(address)), registry) << address;
}

TEST(RdapBootstrap, AUrlBelongsToTheRegistryWhoseBaseItStartsWith) {
    const char* const defaults[5] = {DefaultRdapBase(1), DefaultRdapBase(2), DefaultRdapBase(3), DefaultRdapBase(4),
                                     DefaultRdapBase(5)};
    const char* const custom[5] = {"https://a.example", "https://a.example/x/", nullptr, "", "HTTP://B.example/Y/"};
    const std::tuple<const char* const*, const char*, int> cases[] = {
        {defaults, "https://rdap.arin.net/registry/ip/3.3.3.3", 1},
        {defaults, "HTTPS://RDAP.Arin.NET/registry/ip/3.3.3.3", 1},
        {defaults, "https://rdap.arin.net/Registry/ip/3.3.3.3", 0},
        {defaults, "https://rdap.db.ripe.net/ip/1.2.3.4", 2},
        {defaults, "https://rdap.apnic.net/", 3},
        {defaults, "https://rdap.lacnic.net/rdap/ip/179.0.0.0", 4},
        {defaults, "https://rdap.lacnic.net/ip/179.0.0.0", 0},
        {defaults, "https://rdap.afrinic.net/rdap/ip/41.0.0.0", 5},
        {defaults, "http://rdap.afrinic.net/rdap/ip/41.0.0.0", 0},
        {defaults, "https://rdap.db.ripe.net.example/ip/1.2.3.4", 0},
        {defaults, "", 0},
        {defaults, nullptr, 0},
        {custom, "https://a.example/x/ip/1", 2},
        {custom, "https://A.example", 1},
        {custom, "https://a.example/ip/1", 1},
        {custom, "https://a.example.net/x/", 0},
        {custom, "http://b.EXAMPLE/Y/ip", 5},
        {custom, "http://b.example/y/ip", 0},
    };
    for (const auto& [bases, url, registry] : cases) EXPECT_EQ(RdapRegistryOfUrl(url, bases), registry) << url;
    EXPECT_STREQ(DefaultRdapBase(0), "");
    EXPECT_STREQ(DefaultRdapBase(6), "");
}

}  // namespace
