#pragma once
// Where each registry is asked: its built-in WHOIS host on port 43, unless
// the settings file names another server (a mirror, a relay, or a local
// test server) under "ArinServer" ... "AfrinicServer".

#include <cstdint>
#include <string>

constexpr int kWhoisPort = 43;
constexpr int kServerHostSize = 256;

struct WhoisServer {
    char host[kServerHostSize] = {};
    int port = kWhoisPort;
};

// Reads "host" or "host:port" (blanks around either part ignored; port 1 to
// 65535, digits only; 43 when omitted). False, server untouched, for an empty
// value, an empty host, a host with blanks or a second colon, a host of 256
// characters or more, or a port that is not a number in range.
bool ParseServerOverride(const char* text, WhoisServer* server);

// The settings key of registries 1 to 5 ("ArinServer" ...); null otherwise.
const char* ServerOverrideKey(int32_t registry);

// The RDAP base URL of a registry: the setting ("ArinRdap" ... "AfrinicRdap")
// when it is an http or https URL of up to 255 characters without blanks or
// control characters ("/" added at its end when missing), else the
// registry's own service.
const char* RdapOverrideKey(int32_t registry);
std::string RdapBaseFromSetting(int32_t registry, const char* setting);

class ServerOverrides {
  public:
    // Takes the setting of one registry; a value that does not parse (or is
    // empty) removes its override. False when the value was not taken.
    bool Set(int32_t registry, const char* text);
    void Clear();
    // The server to ask for a registry: the override, else the built-in host
    // on port 43. An id outside 1 to 5 gives an empty host.
    WhoisServer ServerFor(int32_t registry) const;
    bool HasOverride(int32_t registry) const;

  private:
    static constexpr int kRegistries = 5;
    WhoisServer servers[kRegistries];
    bool set[kRegistries] = {};
};
