#pragma once
// Texts the program keeps in scrambled form and the way back to plain text.

#include <cstddef>

// Unscrambles a NUL-terminated byte string: byte i becomes
// byte ^ (kScrambleKey - i) ^ kScrambleMask (all modulo 256). The
// destination holds at most destSize - 1 characters and is terminated.
void UnscrambleText(const char* source, char* dest, size_t destSize);

// The About box's two texts, scrambled.
extern const char kScrambledProductText[];  // "Ownerlens v1.0.0"
extern const char kScrambledLinkText[];     // "http://www.velmora.example/"
