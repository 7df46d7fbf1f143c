#pragma once
// UTF-8 text (what RDAP servers send) turned into the program's 8-bit ANSI
// code page. The core cannot ask the platform, so the shell installs the
// conversion at start; until then a portable one keeps ASCII and writes '?'
// for every other character.

#include <cstddef>
#include <string>

// Appends the ANSI form of length bytes of UTF-8 to *ansi. A character the
// code page lacks, and every byte that is not part of well-formed UTF-8,
// becomes '?'.
using Utf8ToAnsiConverter = void (*)(const char* utf8, size_t length, std::string* ansi);

// Installs the conversion every RDAP text goes through; null restores the
// portable one.
void SetUtf8ToAnsiConverter(Utf8ToAnsiConverter converter);

void Utf8ToAnsi(const char* utf8, size_t length, std::string* ansi);

// Length of the well-formed UTF-8 sequence (RFC 3629: no overlong forms, no
// surrogates, nothing above U+10FFFF) at text, or 0 when the bytes there
// start none. available is how many bytes may be read.
size_t Utf8SequenceLength(const unsigned char* text, size_t available);

// Copies utf8 into *out with every byte outside a well-formed sequence
// replaced by '?'. False, *out untouched, when there was none to replace.
bool RepairUtf8(const char* utf8, size_t length, std::string* out);

#ifdef _WIN32
// Installs the conversion through the system's code page tables.
void InstallWin32Utf8ToAnsiConverter();
#endif
