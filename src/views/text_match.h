#pragma once
// Byte-wise text comparisons that fold only the ASCII letters, as the list's
// sorting and searching do. Bytes are compared as unsigned.

// <0, 0 or >0; letters are folded to lower case first.
int CompareNoCase(const char* a, const char* b);

bool EqualsNoCase(const char* a, const char* b);

// Whether needle occurs in haystack; an empty needle always does.
bool ContainsText(const char* haystack, const char* needle, bool matchCase);
