#pragma once
// Turns a host name into an address for the extraction of addresses from
// text. The shell asks the platform's blocking lookup; tests fake it.

#include <cstdint>

class HostNameResolver {
  public:
    virtual ~HostNameResolver() = default;
    // The first IPv4 address of name (octets in address order); false when
    // the lookup fails or gives no address.
    virtual bool ResolveHostName(const char* name, uint32_t* address) = 0;
};
