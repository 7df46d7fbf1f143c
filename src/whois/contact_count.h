#pragma once
// The RIPE server family (RIPE NCC, APNIC, AfriNIC) rations the personal data
// it sends: every person object counts against a daily allowance per client
// address, and so does every role object except abuse contacts (a role with
// "abuse-mailbox:"). The scheduler keeps its own count so as to stop first.

// The contact objects of answer that count against the allowance; nullptr
// counts 0.
int CountContactObjects(const char* answer);
