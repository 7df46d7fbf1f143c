#pragma once
// The five regional registries, numbered as the settings file, the reports
// and the WHOIS records store them.

#include <cstdint>

enum RegistryId : int32_t {
    RegistryNone = 0,
    RegistryArin = 1,
    RegistryRipe = 2,
    RegistryApnic = 3,
    RegistryLacnic = 4,
    RegistryAfrinic = 5,
};
