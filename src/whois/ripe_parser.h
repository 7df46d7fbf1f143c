#pragma once
// The dialect shared by RIPE NCC, APNIC and AfriNIC: objects separated by
// blank lines, the address block first, then the contact objects it names.

#include "whois/whois_record.h"

// How far the contact object being read has got.
enum ContactState : int {
    ContactNone = 0,       // not collecting
    ContactUnmatched = 1,  // collecting an object not (yet) known as the admin contact
    ContactAdmin = 2,      // collecting the object whose handle is the admin handle
};

// Fills record (cleared, `allocated` set by the caller and left alone) from
// answer, with registry as its source, and returns 0; returns 5 (AfriNIC)
// when the block belongs to the organisation that RIPE NCC keeps for AfriNIC.
int ParseRipeResponse(WhoisRecord* record, const char* answer, int registry);

// Copies email, address, phone, fax and contactName whole, empty ones too.
void CopyContactFields(const WhoisRecord* source, WhoisRecord* destination);
