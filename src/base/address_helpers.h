#pragma once
// Tokens and dotted-quad IPv4 addresses. An address is a 32-bit value whose
// octets lie in address order in memory (network byte order), as the
// platform's socket structures hold it.

#include <cstdint>

// Next token of text at any character of separators, starting at *position
// (an offset the caller starts at 0 and hands back unchanged). Returns 1 with
// the token in output (cut to outputSize - 1 characters) or 0 at the end.
int NextToken(char* output, int outputSize, const char* text, const char* separators, int* position);

// Strict a.b.c.d reader. On failure with storePartial set, *address receives
// the octets completed before the failure (later octets 0).
int ParseDottedQuad(const char* text, uint32_t* address, int storePartial);

// Writes "%d.%d.%d.%d", first octet first; output must hold 16 bytes.
void FormatDottedQuad(uint32_t address, char* output);

uint32_t SwapByteOrder(uint32_t value);

// Octet i (0 = first) of an address.
inline unsigned AddressOctet(uint32_t address, int i) {
    return reinterpret_cast<const unsigned char*>(&address)[i];
}
