#include "lookup/http_location.h"

#include <gtest/gtest.h>

TEST(ResolveLocation, EachFormOfLocationLeadsWhereABrowserWouldGo) {
    const std::string base = "https://rdap.example:8443/a/b/ip/192.0.2.1?lang=en#top";
    const std::pair<const char*, const char*> cases[] = {
        {"http://other.example/x", "http://other.example/x"},
        {"HTTPS://other.example", "HTTPS://other.example"},
        {"//mirror.example/ip/1", "https://mirror.example/ip/1"},
        {"/root?q=1", "https://rdap.example:8443/root?q=1"},
        {"next", "https://rdap.example:8443/a/b/ip/next"},
        {"../up", "https://rdap.example:8443/a/b/ip/../up"},
        {"?lang=fr", "https://rdap.example:8443/a/b/ip/192.0.2.1?lang=fr"},
        {"#part", "https://rdap.example:8443/a/b/ip/192.0.2.1?lang=en"},
        {"", "https://rdap.example:8443/a/b/ip/192.0.2.1?lang=en"},
        {"a:b/c", "a:b/c"},  // a scheme, so absolute: asking it fails as a bad URL
        {"x/a:b", "https://rdap.example:8443/a/b/ip/x/a:b"},
    };
    for (const auto& [location, expected] : cases) EXPECT_EQ(ResolveLocation(base, location), expected) << location;
    EXPECT_EQ(ResolveLocation("http://h.example", "p"), "http://h.example/p");  // no path: the root's
    EXPECT_EQ(ResolveLocation("http://h.example?q", "/p"), "http://h.example/p");
}
