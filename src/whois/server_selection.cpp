#include "whois/server_selection.h"

#include <cstdio>
#include <cstring>

#include "base/address_helpers.h"
#include "resources/resource_ids.h"
#include "whois/bin_resources.h"

namespace {

const char* const kWhoisHosts[] = {
    "whois.arin.net", "whois.ripe.net", "whois.apnic.net", "whois.lacnic.net", "whois.afrinic.net",
};

bool IsRegistry(int32_t registry) {
    return registry >= RegistryArin && registry <= RegistryAfrinic;
}

}  // namespace

int32_t FirstRegistry(uint32_t ip, int32_t findServerByIp) {
    if (!findServerByIp) return RegistryArin;
    const unsigned char* table = GetBinResource(IDR_BIN_FIRST_OCTET);
    if (!table) return RegistryArin;
    const unsigned char entry = table[AddressOctet(ip, 0)];
    // An entry the program cannot ask would make the item fail at once.
    return IsRegistry(entry) ? static_cast<int32_t>(entry) : static_cast<int32_t>(RegistryArin);
}

void ServerForRegistry(int32_t registry, char* output) {
    if (!IsRegistry(registry)) {
        output[0] = '\0';
        return;
    }
    std::strcpy(output, kWhoisHosts[registry - 1]);
}

void BuildQuery(int32_t registry, uint32_t ip, char* output) {
    char address[16];
    FormatDottedQuad(ip, address);
    const char* prefix = "";
    if (registry == RegistryArin) prefix = "+";
    if (registry == RegistryRipe) prefix = "-B ";
    std::snprintf(output, 256, "%s%s\r\n", prefix, address);
}
