#include "whois/rdap_bootstrap.h"

#include <cstring>

#include "base/address_helpers.h"

namespace {

const RdapPrefix kBootstrap[] = {
#include "rdap_bootstrap_table.inc"
};

inline unsigned char Fold(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u + 32) : u;
}

// Where the scheme and host of a URL end: at the first "/" after "://".
size_t AuthorityEnd(const char* url) {
    const char* scheme = std::strstr(url, "://");
    const char* start = scheme ? scheme + 3 : url;
    const char* slash = std::strchr(start, '/');
    return slash ? static_cast<size_t>(slash - url) : std::strlen(url);
}

// Length of base when url starts with it, else 0.
size_t MatchedLength(const char* url, const char* base) {
    const size_t length = std::strlen(base);
    const size_t authority = AuthorityEnd(base);
    for (size_t i = 0; i < length; ++i) {
        if (url[i] == '\0') return 0;
        if (i < authority ? Fold(url[i]) != Fold(base[i]) : url[i] != base[i]) return 0;
    }
    // A base that ends in its host must not match a longer host name.
    if (authority == length && url[length] != '\0' && url[length] != '/') return 0;
    return length;
}

}  // namespace

int32_t RdapRegistryIn(const RdapPrefix* table, size_t count, uint32_t address) {
    const uint32_t value = static_cast<uint32_t>(AddressOctet(address, 0)) << 24 | AddressOctet(address, 1) << 16 |
                           AddressOctet(address, 2) << 8 | AddressOctet(address, 3);
    int32_t registry = 0;
    int32_t longest = -1;
    for (size_t i = 0; i < count; ++i) {
        const int32_t length = table[i].length;
        if (length < 0 || length > 32 || length <= longest) continue;
        const uint32_t mask = length == 0 ? 0 : 0xFFFFFFFFu << (32 - length);
        if ((value & mask) == (table[i].network & mask)) {
            registry = table[i].registry;
            longest = length;
        }
    }
    return registry;
}

int32_t RdapRegistryFor(uint32_t address) {
    return RdapRegistryIn(kBootstrap, sizeof kBootstrap / sizeof kBootstrap[0], address);
}

const char* DefaultRdapBase(int32_t registry) {
    static const char* const kBases[] = {
        "https://rdap.arin.net/registry/", "https://rdap.db.ripe.net/",      "https://rdap.apnic.net/",
        "https://rdap.lacnic.net/rdap/",   "https://rdap.afrinic.net/rdap/",
    };
    return registry >= 1 && registry <= 5 ? kBases[registry - 1] : "";
}

int32_t RdapRegistryOfUrl(const char* url, const char* const bases[5]) {
    if (!url || !bases) return 0;
    int32_t registry = 0;
    size_t longest = 0;
    for (int i = 0; i < 5; ++i) {
        if (!bases[i] || bases[i][0] == '\0') continue;
        const size_t length = MatchedLength(url, bases[i]);
        if (length > longest) {
            longest = length;
            registry = i + 1;
        }
    }
    return registry;
}
