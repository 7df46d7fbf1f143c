#pragma once
// Answers that refuse a query instead of answering it. The registries send
// them when a client has asked too much, sometimes after part of the data,
// so they must be caught before a parser mistakes them for a record.

enum class Denial {
    None,
    Blocked,             // %ERROR:201/202: no more answers until midnight UTC, or at all
    TooManyConnections,  // %ERROR:306: too many open conversations from this address
    RateLimited,         // LACNIC: too many queries a minute
};

// The first denial line of answer (nullptr reads as ""), wherever it stands.
Denial FindDenial(const char* answer);
