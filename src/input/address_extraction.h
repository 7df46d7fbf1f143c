#pragma once
// How a text becomes addresses: it is cut into tokens at a fixed set of
// separators, so that whole e-mail headers can be pasted as they are. Every
// dotted quad is taken, and with HostNameToIP on every token that looks like
// a host name and resolves. AddressList::AddAddressesFromText does the work.

// The 19 separators: space [ ] @ " { } , ; : * ' ( ) ! CR LF TAB /
extern const char kAddressSeparators[];

// Token buffer of the extraction; a token keeps at most 1022 characters.
constexpr int kTokenBufferSize = 1024;

// Letters, digits, hyphens and single dots only, at least one dot, no dot at
// the end, and at least three letters and hyphens together.
bool IsHostNameToken(const char* token);
