#pragma once
// The LACNIC dialect: blocks in prefix notation with trailing zero octets
// often left out ("200.160/12"), the owner in "owner"/"ownerid" lines and its
// postal address in the first run of "address" lines.

#include <cstdint>

#include "whois/whois_record.h"

// Fills record (cleared, `allocated` set by the caller and left alone) from
// answer. Always returns 0: this dialect has no referrals.
int ParseLacnicResponse(WhoisRecord* record, const char* answer);

// Reads a block in prefix notation into its first and last address (network
// byte order). The first address is the one written, host bits included.
// False, both outputs untouched, when text has no "/", the prefix is not 1
// to 32 or the address part reads as 0.
bool ParseCidrRange(const char* text, uint32_t* first, uint32_t* last);
