#pragma once
// Which registry's RDAP service holds an IPv4 address, from the IANA
// bootstrap file compiled into the program, and the services' base URLs.

#include <cstddef>
#include <cstdint>

// One prefix of the bootstrap: its first address as a number (first octet
// highest), its length in bits and the RegistryId of its service.
struct RdapPrefix {
    uint32_t network;
    int32_t length;
    int32_t registry;
};

// The registry of the longest prefix of table that holds address (network
// byte order, as the program stores it); 0 when none does.
int32_t RdapRegistryIn(const RdapPrefix* table, size_t count, uint32_t address);

// The same over the compiled bootstrap file.
int32_t RdapRegistryFor(uint32_t address);

// The base URL of a registry's RDAP service (ending in "/"); "" outside 1 to 5.
const char* DefaultRdapBase(int32_t registry);

// The registry (1 to 5) whose base URL in bases the url starts with, scheme
// and host compared ignoring case, the path exactly; the longest base wins.
// 0 when none does; null or empty bases match nothing.
int32_t RdapRegistryOfUrl(const char* url, const char* const bases[5]);
