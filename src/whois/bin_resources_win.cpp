#include <windows.h>

#include "whois/bin_resources.h"

namespace {

// Resource memory of the program's own module stays mapped for the life of
// the process, so the locked pointer can be kept.
const unsigned char* LoadModuleBinResource(int id) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "BIN");
    if (!found) return nullptr;
    HGLOBAL loaded = LoadResource(nullptr, found);
    if (!loaded) return nullptr;
    return static_cast<const unsigned char*>(LockResource(loaded));
}

}  // namespace

void InstallWin32BinResourceLoader() {
    SetBinResourceLoader(LoadModuleBinResource);
}
