#include "lookup/server_overrides.h"

#include <cstring>

#include "whois/rdap_bootstrap.h"
#include "whois/server_selection.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// [begin, end) without blanks at either end.
void Trim(const char*& begin, const char*& end) {
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
}

bool IsRegistry(int32_t registry) {
    return registry >= RegistryArin && registry <= RegistryAfrinic;
}

}  // namespace

bool ParseServerOverride(const char* text, WhoisServer* server) {
    if (!text) return false;
    const char* begin = text;
    const char* end = text + std::strlen(text);
    Trim(begin, end);
    if (begin == end) return false;

    const char* colon = static_cast<const char*>(std::memchr(begin, ':', static_cast<size_t>(end - begin)));
    const char* hostEnd = colon ? colon : end;
    const char* hostBegin = begin;
    Trim(hostBegin, hostEnd);
    const size_t hostLength = static_cast<size_t>(hostEnd - hostBegin);
    if (hostLength == 0 || hostLength >= static_cast<size_t>(kServerHostSize)) return false;
    for (const char* p = hostBegin; p < hostEnd; ++p) {
        if (IsBlank(*p) || *p == ':') return false;
    }

    int port = kWhoisPort;
    if (colon) {
        const char* portBegin = colon + 1;
        const char* portEnd = end;
        Trim(portBegin, portEnd);
        if (portBegin == portEnd) return false;
        long value = 0;
        for (const char* p = portBegin; p < portEnd; ++p) {
            if (*p < '0' || *p > '9') return false;
            value = value * 10 + (*p - '0');
            if (value > 65535) return false;
        }
        if (value < 1) return false;
        port = static_cast<int>(value);
    }

    std::memcpy(server->host, hostBegin, hostLength);
    server->host[hostLength] = '\0';
    server->port = port;
    return true;
}

const char* RdapOverrideKey(int32_t registry) {
    static const char* const kKeys[] = {"ArinRdap", "RipeRdap", "ApnicRdap", "LacnicRdap", "AfrinicRdap"};
    return IsRegistry(registry) ? kKeys[registry - 1] : nullptr;
}

std::string RdapBaseFromSetting(int32_t registry, const char* setting) {
    std::string base = setting ? setting : "", scheme = base.substr(0, 8);
    for (char& c : scheme) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    bool usable = base.size() <= 255 && (scheme.compare(0, 7, "http://") == 0 || scheme == "https://");
    for (const char c : base) usable = usable && static_cast<unsigned char>(c) > ' ' && c != 0x7F;
    if (!usable) return DefaultRdapBase(registry);
    if (base.back() != '/') base += '/';
    return base;
}

const char* ServerOverrideKey(int32_t registry) {
    static const char* const kKeys[] = {"ArinServer", "RipeServer", "ApnicServer", "LacnicServer", "AfrinicServer"};
    return IsRegistry(registry) ? kKeys[registry - 1] : nullptr;
}

bool ServerOverrides::Set(int32_t registry, const char* text) {
    if (!IsRegistry(registry)) return false;
    const int i = registry - 1;
    WhoisServer parsed;
    if (!ParseServerOverride(text, &parsed)) {
        set[i] = false;
        return false;
    }
    servers[i] = parsed;
    set[i] = true;
    return true;
}

void ServerOverrides::Clear() {
    for (bool& s : set) s = false;
}

bool ServerOverrides::HasOverride(int32_t registry) const {
    return IsRegistry(registry) && set[registry - 1];
}

WhoisServer ServerOverrides::ServerFor(int32_t registry) const {
    if (HasOverride(registry)) return servers[registry - 1];
    WhoisServer server;
    ServerForRegistry(registry, server.host);
    server.port = kWhoisPort;
    return server;
}
