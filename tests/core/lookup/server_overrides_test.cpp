#include "lookup/server_overrides.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "whois/server_selection.h"

namespace {

TEST(ServerOverrides, ReadsHostAndOptionalPort) {
    const struct {
        const char* text;
        const char* host;
        int port;
    } good[] = {
        {"whois.example.net", "whois.example.net", 43},
        {"127.0.0.1:4343", "127.0.0.1", 4343},
        {"  relay.lan : 1  ", "relay.lan", 1},
        {"localhost:65535", "localhost", 65535},
        {"h:043", "h", 43},
    };
    for (const auto& g : good) {
        WhoisServer server;
        ASSERT_TRUE(ParseServerOverride(g.text, &server)) << g.text;
        EXPECT_STREQ(server.host, g.host) << g.text;
        EXPECT_EQ(server.port, g.port) << g.text;
    }
}

TEST(ServerOverrides, RefusesWhatIsNoServer) {
    const std::string longHost(256, 'a');
    const char* bad[] = {
        "",        "   ",     ":43",    "host:",      "host:0", "host:65536",    "host:99999999999999999999",
        "host:4a", "host:-1", "a b:43", "host:43:44", "::1",    longHost.c_str()};
    for (const char* text : bad) {
        WhoisServer server;
        std::strcpy(server.host, "untouched");
        EXPECT_FALSE(ParseServerOverride(text, &server)) << text;
        EXPECT_STREQ(server.host, "untouched") << text;
    }
    WhoisServer server;
    EXPECT_FALSE(ParseServerOverride(nullptr, &server));
    EXPECT_TRUE(ParseServerOverride(std::string(255, 'a').c_str(), &server));
}

TEST(ServerOverrides, ReplaceTheBuiltInHostOfTheirRegistryOnly) {
    ServerOverrides servers;
    char builtIn[256];
    ServerForRegistry(RegistryRipe, builtIn);
    EXPECT_STREQ(servers.ServerFor(RegistryRipe).host, builtIn);
    EXPECT_EQ(servers.ServerFor(RegistryRipe).port, 43);

    EXPECT_TRUE(servers.Set(RegistryRipe, "127.0.0.1:4301"));
    EXPECT_STREQ(servers.ServerFor(RegistryRipe).host, "127.0.0.1");
    EXPECT_EQ(servers.ServerFor(RegistryRipe).port, 4301);
    ServerForRegistry(RegistryArin, builtIn);
    EXPECT_STREQ(servers.ServerFor(RegistryArin).host, builtIn);

    // An empty or broken value gives the registry its own host back.
    EXPECT_FALSE(servers.Set(RegistryRipe, "127.0.0.1:x"));
    ServerForRegistry(RegistryRipe, builtIn);
    EXPECT_STREQ(servers.ServerFor(RegistryRipe).host, builtIn);

    // No registry, no host, override or not.
    EXPECT_FALSE(servers.Set(0, "127.0.0.1"));
    EXPECT_FALSE(servers.Set(6, "127.0.0.1"));
    EXPECT_STREQ(servers.ServerFor(0).host, "");
    EXPECT_STREQ(servers.ServerFor(6).host, "");
}

TEST(ServerOverrides, KeysOfTheFiveRegistries) {
    EXPECT_STREQ(ServerOverrideKey(RegistryArin), "ArinServer");
    EXPECT_STREQ(ServerOverrideKey(RegistryRipe), "RipeServer");
    EXPECT_STREQ(ServerOverrideKey(RegistryApnic), "ApnicServer");
    EXPECT_STREQ(ServerOverrideKey(RegistryLacnic), "LacnicServer");
    EXPECT_STREQ(ServerOverrideKey(RegistryAfrinic), "AfrinicServer");
    EXPECT_EQ(ServerOverrideKey(0), nullptr);
    EXPECT_EQ(ServerOverrideKey(6), nullptr);
}

}  // namespace
