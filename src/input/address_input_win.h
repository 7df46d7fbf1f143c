#pragma once
// The platform's side of address input: blocking host-name lookups for the
// extraction, and reading a text out of another process's memory.

#include <windows.h>

#include <cstdint>

#include "input/host_name_resolver.h"
#include "base/text_buffer.h"

class PlatformHostNameResolver : public HostNameResolver {
  public:
    bool ResolveHostName(const char* name, uint32_t* address) override;
};

// Reads length bytes at address in process processId into text. The text is
// replaced only when every byte could be read.
bool ReadAddressesFromProcess(DWORD processId, uintptr_t address, uint32_t length, TextBuffer& text);
