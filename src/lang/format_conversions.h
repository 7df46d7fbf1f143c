#pragma once
// The printf conversions of a text. A translated string may be handed to a
// printf-style call as its format, so a translation is only safe when it
// asks for the same arguments as the program's own text.

#include <string>
#include <vector>

// The argument-consuming part of every conversion of a format, in order:
// '*' for a width or precision taken from the arguments, the length modifier
// and the conversion character ("d", "ld", "*.*s"). Flags, widths and
// precisions written as digits take no argument and are left out; "%%"
// is no conversion. False when the text is no usable format: a '%' at the
// end, an unknown conversion character, a positional argument ("%1$d")
// or "%n", which writes through its argument.
bool ReadConversions(const char* text, std::vector<std::string>* conversions);

// True when a translation asks for exactly the arguments of the built-in
// text: the same conversions in the same order, and both are usable formats.
bool SameConversions(const char* builtin, const char* translated);
