#include "whois/server_selection.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/address_helpers.h"

namespace {

uint32_t Ip(const char* text) {
    uint32_t ip = 0;
    EXPECT_EQ(ParseDottedQuad(text, &ip, 0), 1) << text;
    return ip;
}

TEST(FirstRegistry, FirstOctetTableChoosesTheRegistry) {
    const struct {
        const char* ip;
        int32_t registry;
    } cases[] = {
        {"41.0.0.1", RegistryAfrinic},  {"58.0.0.1", RegistryApnic},    {"126.0.0.1", RegistryApnic},
        {"62.0.0.1", RegistryRipe},     {"95.0.0.1", RegistryRipe},     {"186.0.0.1", RegistryLacnic},
        {"201.0.0.1", RegistryLacnic},  {"196.0.0.1", RegistryAfrinic}, {"223.0.0.1", RegistryArin},
        {"8.0.0.1", RegistryArin},      {"0.0.0.0", RegistryArin},      {"255.255.255.255", RegistryArin},
        {"154.1.2.3", RegistryAfrinic}, {"222.9.9.9", RegistryApnic},   {"217.0.0.1", RegistryRipe},
        {"76.0.0.1", RegistryArin},     {"96.0.0.1", RegistryArin},     {"192.0.2.1", RegistryArin},
    };
    for (const auto& c : cases) EXPECT_EQ(FirstRegistry(Ip(c.ip), 1), c.registry) << c.ip;
}

TEST(FirstRegistry, OptionOffAlwaysAsksArin) {
    for (const char* ip : {"41.0.0.1", "62.0.0.1", "200.1.1.1", "8.8.8.8"}) EXPECT_EQ(FirstRegistry(Ip(ip), 0), 1);
}

TEST(ServerForRegistry, HostPerRegistryAndEmptyOtherwise) {
    char host[256];
    const char* expected[] = {"whois.arin.net", "whois.ripe.net", "whois.apnic.net", "whois.lacnic.net",
                              "whois.afrinic.net"};
    for (int id = 1; id <= 5; ++id) {
        ServerForRegistry(id, host);
        EXPECT_STREQ(host, expected[id - 1]);
    }
    for (int id : {0, 6, -1, 1000}) {
        std::memset(host, 'x', sizeof host);
        ServerForRegistry(id, host);
        EXPECT_STREQ(host, "") << id;
    }
}

TEST(BuildQuery, ExactBytesPerRegistry) {
    char line[256];
    const uint32_t ip = Ip("198.51.100.7");
    BuildQuery(RegistryArin, ip, line);
    EXPECT_EQ(std::string(line), "+198.51.100.7\r\n");
    BuildQuery(RegistryRipe, ip, line);
    EXPECT_EQ(std::string(line), "-B 198.51.100.7\r\n");
    for (int id : {3, 4, 5}) {
        BuildQuery(id, ip, line);
        EXPECT_EQ(std::string(line), "198.51.100.7\r\n");
    }
    BuildQuery(0, ip, line);  // never sent, but still a plain line
    EXPECT_EQ(std::string(line), "198.51.100.7\r\n");
    BuildQuery(RegistryArin, Ip("10.001.0.255"), line);
    EXPECT_EQ(std::string(line), "+10.1.0.255\r\n");
}

}  // namespace
