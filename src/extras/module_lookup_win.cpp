#include "extras/module_lookup_win.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <vector>

namespace {

enum class Interface { Unchosen, Psapi, ToolHelp, None };

struct PsapiFunctions {
    BOOL(WINAPI* enumProcessModules)(HANDLE, HMODULE*, DWORD, LPDWORD);
    DWORD(WINAPI* getModuleFileNameEx)(HANDLE, HMODULE, LPSTR, DWORD);
    BOOL(WINAPI* getModuleInformation)(HANDLE, HMODULE, LPMODULEINFO, DWORD);
};

struct ToolHelpFunctions {
    HANDLE(WINAPI* createSnapshot)(DWORD, DWORD);
    BOOL(WINAPI* moduleFirst)(HANDLE, LPMODULEENTRY32);
    BOOL(WINAPI* moduleNext)(HANDLE, LPMODULEENTRY32);
};

Interface g_interface = Interface::Unchosen;
PsapiFunctions g_psapi;
ToolHelpFunctions g_toolHelp;

template <typename T>
bool Lookup(HMODULE module, const char* name, T* function) {
    *function = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return *function != nullptr;
}

bool IsNtFamily() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// Chosen once for the whole run: psapi on the NT family, tool help
// elsewhere, each only when every function it needs is there.
Interface ChooseInterface() {
    if (g_interface != Interface::Unchosen) return g_interface;
    g_interface = Interface::None;
    if (IsNtFamily()) {
        HMODULE psapi = LoadLibraryA("psapi.dll");
        if (psapi) {
            FARPROC baseName = GetProcAddress(psapi, "GetModuleBaseNameA");
            FARPROC processes = GetProcAddress(psapi, "EnumProcesses");
            if (baseName && processes && Lookup(psapi, "EnumProcessModules", &g_psapi.enumProcessModules) &&
                Lookup(psapi, "GetModuleFileNameExA", &g_psapi.getModuleFileNameEx) &&
                Lookup(psapi, "GetModuleInformation", &g_psapi.getModuleInformation)) {
                g_interface = Interface::Psapi;
            } else {
                FreeLibrary(psapi);
            }
        }
    } else {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        if (kernel && GetProcAddress(kernel, "Process32First") && GetProcAddress(kernel, "Process32Next") &&
            Lookup(kernel, "CreateToolhelp32Snapshot", &g_toolHelp.createSnapshot) &&
            Lookup(kernel, "Module32First", &g_toolHelp.moduleFirst) &&
            Lookup(kernel, "Module32Next", &g_toolHelp.moduleNext)) {
            g_interface = Interface::ToolHelp;
        }
    }
    return g_interface;
}

bool Holds(uintptr_t base, uintptr_t size, uintptr_t address) {
    return base <= address && address - base < size;
}

bool FindWithPsapi(uintptr_t address, char* out) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, GetCurrentProcessId());
    if (!process) return false;
    std::vector<HMODULE> modules(4096);
    DWORD needed = 0;
    bool found = false;
    if (g_psapi.enumProcessModules(process, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                                   &needed)) {
        const size_t count = std::min<size_t>(needed / sizeof(HMODULE), modules.size());
        for (size_t i = 0; i < count && !found; ++i) {
            char path[MAX_PATH] = {};
            MODULEINFO info = {};
            if (!g_psapi.getModuleFileNameEx(process, modules[i], path, MAX_PATH)) continue;
            if (!g_psapi.getModuleInformation(process, modules[i], &info, sizeof info)) continue;
            if (Holds(reinterpret_cast<uintptr_t>(info.lpBaseOfDll), info.SizeOfImage, address)) {
                lstrcpynA(out, path, MAX_PATH);
                found = true;
            }
        }
    }
    CloseHandle(process);
    return found;
}

bool FindWithToolHelp(uintptr_t address, char* out) {
    HANDLE snapshot = g_toolHelp.createSnapshot(TH32CS_SNAPMODULE, GetCurrentProcessId());
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = g_toolHelp.moduleFirst(snapshot, &entry); more && !found;
         more = g_toolHelp.moduleNext(snapshot, &entry)) {
        if (Holds(reinterpret_cast<uintptr_t>(entry.modBaseAddr), entry.modBaseSize, address)) {
            lstrcpynA(out, entry.szExePath, MAX_PATH);
            found = true;
        }
    }
    CloseHandle(snapshot);
    return found;
}

}  // namespace

bool FindModuleOfAddress(uintptr_t address, char* out) {
    out[0] = '\0';
    switch (ChooseInterface()) {
        case Interface::Psapi:
            return FindWithPsapi(address, out);
        case Interface::ToolHelp:
            return FindWithToolHelp(address, out);
        default:
            return false;
    }
}
