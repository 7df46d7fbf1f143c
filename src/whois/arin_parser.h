#pragma once
// The ARIN dialect: key/value lines in blocks separated by blank lines, the
// more specific blocks later.

#include "whois/whois_record.h"

// Fills record (cleared, `allocated` set to 2 by the caller) from answer and
// returns 0, or returns the RegistryId (2 to 5) of the registry that holds
// the block when the answer names it as the organisation.
int ParseArinResponse(WhoisRecord* record, const char* answer);
