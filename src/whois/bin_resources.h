#pragma once
// The program's read-only binary tables (resources of type "BIN"): the
// first-octet table and the country and state tables. The core never touches
// the platform: it asks a loader that the shell installs at start-up (the
// module's resources) and that native tests install from the generated files.

// Returns the bytes of the BIN resource id, or null when it cannot be had.
// The bytes must stay valid for the rest of the process.
using BinResourceLoader = const unsigned char* (*)(int id);

// Installs the loader and forgets every table cached so far.
void SetBinResourceLoader(BinResourceLoader loader);

// The bytes of the BIN resource id, cached after the first success; null
// while the loader cannot supply them (the next call asks again).
const unsigned char* GetBinResource(int id);

#ifdef _WIN32
// Installs the loader that reads the program's own module resources.
void InstallWin32BinResourceLoader();
#endif
