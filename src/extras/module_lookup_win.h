#pragma once
// Which module of the program's own process holds an address.

#include <windows.h>

#include <cstdint>

// The path of the module that holds address (out: 260 characters); false
// when no module does or the platform's module lists cannot be read.
bool FindModuleOfAddress(uintptr_t address, char* out);
