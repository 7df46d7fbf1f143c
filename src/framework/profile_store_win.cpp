#include "framework/profile_store_win.h"

#include <windows.h>

void PrivateProfileStore::GetString(const char* path, const char* section, const char* key, const char* def, char* out,
                                    int outSize) {
    GetPrivateProfileStringA(section, key, def, out, static_cast<DWORD>(outSize), path);
}

int32_t PrivateProfileStore::GetInt(const char* path, const char* section, const char* key, int32_t def) {
    return static_cast<int32_t>(GetPrivateProfileIntA(section, key, def, path));
}

void PrivateProfileStore::PutString(const char* path, const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, path);
}

void PrivateProfileStore::DeleteKey(const char* path, const char* section, const char* key) {
    WritePrivateProfileStringA(section, key, nullptr, path);
}
