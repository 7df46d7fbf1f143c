// Which registry is asked first, at which server, with which query line.
#include "lookup/server_selection.h"

#include <gtest/gtest.h>

#include <string>

#include "../views/list_test_support.h"
#include "lookup/server_overrides.h"

TEST(ServerSelection, FirstRegistryFromTheFirstOctetTable) {
    const struct {
        const char* ip;
        int32_t byTable;
    } cases[] = {{"41.0.0.1", RegistryAfrinic}, {"196.0.0.1", RegistryAfrinic},   {"58.0.0.1", RegistryApnic},
                 {"222.9.9.9", RegistryApnic},  {"62.0.0.1", RegistryRipe},       {"217.0.0.1", RegistryRipe},
                 {"186.0.0.1", RegistryLacnic}, {"201.0.0.1", RegistryLacnic},    {"8.0.0.1", RegistryArin},
                 {"0.0.0.0", RegistryArin},     {"255.255.255.255", RegistryArin}};
    for (const auto& c : cases) {
        EXPECT_EQ(FirstRegistry(Ip(c.ip), 1), c.byTable) << c.ip;
        EXPECT_EQ(FirstRegistry(Ip(c.ip), 0), RegistryArin) << c.ip;  // the option off: always ARIN
    }
}

TEST(ServerSelection, HostsKeysAndQueryLines) {
    std::string hosts, keys, queries;
    for (int32_t id = 0; id <= 6; ++id) {
        char text[256] = "x";
        ServerForRegistry(id, text);
        hosts += std::string(text) + " ";
        keys += std::string(ServerOverrideKey(id) ? ServerOverrideKey(id) : "-") + " ";
        BuildQuery(id, Ip("198.051.100.7"), text);
        queries += text;
    }
    EXPECT_EQ(hosts, " whois.arin.net whois.ripe.net whois.apnic.net whois.lacnic.net whois.afrinic.net  ");
    EXPECT_EQ(keys, "- ArinServer RipeServer ApnicServer LacnicServer AfrinicServer - ");
    EXPECT_EQ(queries,
              "198.51.100.7\r\n+198.51.100.7\r\n-B 198.51.100.7\r\n198.51.100.7\r\n198.51.100.7\r\n198.51.100.7\r\n"
              "198.51.100.7\r\n");
}

TEST(ServerOverrides, HostAndOptionalPort) {
    const std::string longest(255, 'a'), tooLong(256, 'a');
    const struct {
        const char* text;
        const char* host;  // null: refused, the server untouched
        int port;
    } cases[] = {{"whois.example.net", "whois.example.net", 43}, {"  relay.lan : 1  ", "relay.lan", 1},
                 {"localhost:65535", "localhost", 65535},        {"h:043", "h", 43},
                 {longest.c_str(), longest.c_str(), 43},         {nullptr, nullptr, 0}};
    for (const char* bad : {"", "   ", ":43", "host:", "host:0", "host:65536", "host:99999999999999999999", "host:4a",
                            "host:-1", "a b:43", "host:43:44", "::1", tooLong.c_str()}) {
        WhoisServer server;
        EXPECT_FALSE(ParseServerOverride(bad, &server)) << bad;
        EXPECT_STREQ(server.host, "") << bad;
    }
    for (const auto& c : cases) {
        WhoisServer server;
        EXPECT_EQ(ParseServerOverride(c.text, &server), c.host != nullptr);
        EXPECT_STREQ(server.host, c.host ? c.host : "");
        EXPECT_EQ(server.port, c.host ? c.port : 43);
    }
}

TEST(ServerOverrides, ReplaceTheBuiltInServerOfTheirRegistryOnly) {
    ServerOverrides servers;
    EXPECT_TRUE(servers.Set(RegistryRipe, "127.0.0.1:4301"));
    EXPECT_STREQ(servers.ServerFor(RegistryRipe).host, "127.0.0.1");
    EXPECT_EQ(servers.ServerFor(RegistryRipe).port, 4301);
    EXPECT_STREQ(servers.ServerFor(RegistryArin).host, "whois.arin.net");
    EXPECT_FALSE(servers.Set(RegistryRipe, "127.0.0.1:x"));  // a broken value gives the registry its own host back
    EXPECT_STREQ(servers.ServerFor(RegistryRipe).host, "whois.ripe.net");
    EXPECT_EQ(servers.ServerFor(RegistryRipe).port, 43);
    EXPECT_FALSE(servers.Set(6, "127.0.0.1"));
    EXPECT_STREQ(servers.ServerFor(6).host, "");
}
