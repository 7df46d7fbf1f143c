#pragma once
// The executable path in the shell's command for http addresses.

#include <string>

// The path of the program in a browser command line: inside the leading
// double quotes when it begins with one, otherwise up to the first blank
// after the last backslash (the whole value when there is none). False for
// an empty value, an unclosed quote, or an unquoted value without any
// backslash.
bool BrowserPathFromCommand(const char* command, std::string* path);
