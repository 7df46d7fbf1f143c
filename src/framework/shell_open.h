#pragma once
// Opening files and web pages through the shell and the default browser.

#include <windows.h>

// Opens a file or URL with the shell's "open" verb; true when the shell
// accepted it.
bool ShellOpen(HWND owner, const char* target);

// The executable of the browser registered for http addresses, when the
// registry names one and it exists (out: 260 characters).
bool FindDefaultBrowser(char* out);

// The page of the maker's web site that shows the machine's public address.
extern const char kMyAddressPage[];

// Starts the default browser on kMyAddressPage; true when it started. Does
// nothing (and shows nothing) without a usable browser.
bool ShowMyAddress(HWND owner);
