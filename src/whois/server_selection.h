#pragma once
// Registries, the registry a new address is asked first, their WHOIS hosts
// and the exact query line each one is sent.

#include <cstdint>

#include "base/registry_id.h"

// The registry to ask first for ip: ARIN when findServerByIp is off or the
// first-octet table has no entry for the address's first octet.
int32_t FirstRegistry(uint32_t ip, int32_t findServerByIp);

// The WHOIS host of registries 1 to 5; "" for any other id. output: 256 bytes.
void ServerForRegistry(int32_t registry, char* output);

// The query line with its CR LF. output: 256 bytes.
void BuildQuery(int32_t registry, uint32_t ip, char* output);
