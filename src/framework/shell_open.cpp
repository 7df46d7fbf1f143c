#include "framework/shell_open.h"

#include <shellapi.h>

#include <cstring>
#include <string>

#include "base/browser_command.h"
#include "framework/handles.h"

const char kMyAddressPage[] = "http://www.velmora.example/show_my_ip_address.php";

bool ShellOpen(HWND owner, const char* target) {
    const HINSTANCE result = ShellExecuteA(owner, "open", target, nullptr, nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool FindDefaultBrowser(char* out) {
    out[0] = '\0';
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    UniqueKey key(opened);
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    const LONG status = RegQueryValueExA(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    if (status != ERROR_SUCCESS) return false;
    value[size < sizeof value ? size : sizeof value - 1] = '\0';
    std::string path;
    if (!BrowserPathFromCommand(value, &path)) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    lstrcpynA(out, path.c_str(), MAX_PATH);
    return true;
}

bool ShowMyAddress(HWND owner) {
    char browser[MAX_PATH];
    if (!FindDefaultBrowser(browser)) return false;
    const HINSTANCE result = ShellExecuteA(owner, nullptr, browser, kMyAddressPage, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
