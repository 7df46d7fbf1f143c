#pragma once
// Shared by the fuzz targets: the input as a NUL-terminated text, the tables
// from the generated files, and the record invariants every parse must keep.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "whois/bin_file_loader.h"
#include "whois/whois_record.h"

// Stops the run as a finding; libFuzzer reports the crashing input.
#define FUZZ_CHECK(condition)                                                               \
    do {                                                                                    \
        if (!(condition)) {                                                                 \
            __builtin_printf("check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                   \
        }                                                                                   \
    } while (0)

inline std::string FuzzText(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

inline void InstallFuzzTables() {
    static const bool installed = (InstallBinFileLoader(OL_GENERATED_DIR), true);
    (void)installed;
}

inline void CheckField(const char* field) {
    const void* nul = std::memchr(field, '\0', kFieldSize);
    FUZZ_CHECK(nul != nullptr);
    FUZZ_CHECK(static_cast<const char*>(nul) - field <= 254);
}

inline void CheckRecord(const WhoisRecord& r) {
    for (const char* field :
         {r.ownerName, r.address, r.email, r.abuseEmail, r.phone, r.fax, r.country, r.networkName, r.contactName}) {
        CheckField(field);
    }
    FUZZ_CHECK(std::memchr(r.line, '\0', sizeof r.line) != nullptr);
    FUZZ_CHECK(r.allocated == 1 || r.allocated == 2);
}
