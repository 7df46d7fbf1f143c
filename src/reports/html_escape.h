#pragma once
// The escaping of values in the HTML and XML reports.
//
// Values are 8-bit texts in the ANSI code page. In a double-byte code page
// the second byte of a character can be any of 0x40 to 0xFE, so the text is
// walked by characters: a lead byte and its trail byte pass together
// unchanged, and only single-byte characters are escaped. None of the bytes
// that are escaped can be a trail byte, so the markup stays intact.

#include <string>

// Whether a code page has two-byte characters that the escaping must keep
// whole (936, 949, 950 and 932).
bool IsDoubleByteCodePage(unsigned codePage);

// Length in bytes (1 or 2) of the character at text[0], which is not NUL.
// A lead byte without a valid trail byte after it counts as one character.
int CharacterLength(const char* text, unsigned codePage);

// Appends in escaped: "&" as "&amp;", "<" as "&lt;", ">" as "&gt;", the double
// quote as "&quot;", a lone 0xB0 as "&deg;", LF as "<br>"; CR and every
// other character are copied.
void EscapeHtml(const char* in, std::string& out, unsigned codePage);
// The same for XML, which knows neither "&deg;" nor "<br>": a lone 0xB0 is
// written "&#176;" and LF "&#10;".
void EscapeXml(const char* in, std::string& out, unsigned codePage);
