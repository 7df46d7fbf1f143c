#pragma once
// The fixed record of one parsed WHOIS answer. Plain data with no owned
// memory, so it is cleared with zeros and copied as a block.

#include <cstdint>
#include <cstring>

constexpr int kFieldSize = 256;  // text fields hold at most 254 characters

struct WhoisRecord {
    char line[1024];  // parser scratch: the current line
    char* key;        // parser scratch: key of the current line, into line
    char* value;      // parser scratch: value of the current line, into line
    uint32_t fromIp;  // first address of the block, network byte order; 0 = none
    uint32_t toIp;    // last address of the block; 0 = none
    char ownerName[kFieldSize];
    char address[kFieldSize];
    char email[kFieldSize];
    char abuseEmail[kFieldSize];
    char phone[kFieldSize];
    char fax[kFieldSize];
    char country[kFieldSize];
    char networkName[kFieldSize];
    char contactName[kFieldSize];
    int32_t allocated;    // 0 not parsed yet, 1 not allocated, 2 allocated
    int32_t whoisSource;  // RegistryId of the registry that answered; 0 = none
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(WhoisRecord) == 3352, "the record's layout is fixed on the 32-bit build");
#endif

// Sets every byte of the record to zero.
inline WhoisRecord* ClearRecord(WhoisRecord* record) {
    std::memset(record, 0, sizeof *record);
    return record;
}
