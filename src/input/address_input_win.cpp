#include "input/address_input_win.h"

#include <winsock2.h>

#include <cstring>
#include <vector>

#include "input/address_text_input.h"
#include "framework/handles.h"

bool PlatformHostNameResolver::ResolveHostName(const char* name, uint32_t* address) {
    const hostent* host = gethostbyname(name);
    if (!host || host->h_addrtype != AF_INET || host->h_length != 4 || !host->h_addr_list || !host->h_addr_list[0]) {
        return false;
    }
    std::memcpy(address, host->h_addr_list[0], 4);
    return true;
}

bool ReadAddressesFromProcess(DWORD processId, uintptr_t address, uint32_t length, TextBuffer& text) {
    std::vector<char> bytes;
    try {
        bytes.resize(length);
    } catch (...) {
        return false;
    }
    UniqueKernelHandle process(OpenProcess(PROCESS_VM_READ, FALSE, processId));
    if (!process) return false;
    SIZE_T read = 0;
    const bool ok = ReadProcessMemory(process.Get(), reinterpret_cast<LPCVOID>(address), bytes.data(), length, &read) &&
                    read == length;
    // A failed read leaves the address text as it was.
    return ok && SetAddressBytes(text, bytes.data(), length);
}
