#pragma once
// The address text and the options of section "General", owned by the main
// window. The address list and the address dialog read them.

#include <cstdint>

#include "base/text_buffer.h"

struct Options {
    TextBuffer addressText{256};  // not stored in the settings file
    int32_t HostNameToIP = 0;
    int32_t LoadOnlyLastIP = 0;
    int32_t Pause = 0;
    int32_t ResolveIPAddr = 1;
    int32_t FindServerByIP = 1;
    int32_t PauseTime = 30;   // seconds
    int32_t PauseCount = 10;  // addresses
    int32_t ShowGridLines = 0;
    int32_t ShowInfoTip = 1;
    int32_t SaveFilterIndex = 0;
    int32_t SplitLoc = 21844;  // list share of the height, in 1/32767
    // Per registry (RegistryId - 1): until when it refuses us, as UTC
    // "YYYYMMDDHHMM"; "" when it does not.
    char BlockedUntil[5][13] = {};
    // Per registry: at most this many queries in any minute; 0 = no limit.
    // LACNIC shuts out clients that ask about ten a minute.
    int32_t QueriesPerMinute[5] = {0, 0, 0, 5, 0};
    // Per registry of the RIPE server family: the contact objects it may send
    // a day (0 = no limit), and how many it sent on which UTC day (YYYYMMDD).
    int32_t DailyContacts[5] = {0, 900, 900, 0, 4500};
    int32_t ContactsDay[5] = {};
    int32_t ContactsToday[5] = {};
    // An answer whose block holds at most this many addresses also serves the
    // later addresses of the run inside it; 0 = never.
    int32_t ReuseMaxAddresses = 256;
    // Conversations open at once, each with another registry: 1 to 5.
    int32_t MaxConversations = 1;
    // Ask the registries over RDAP (HTTPS) rather than WHOIS: always
    // (UseRdap, a setting) or for this run only ("/rdap", never stored).
    int32_t UseRdap = 0;
    int32_t RdapOnce = 0;
};
