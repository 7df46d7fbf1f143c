#pragma once
// The settings store on the platform's private-profile (INI) functions.

#include "base/profile_store.h"

class PrivateProfileStore : public ProfileStore {
  public:
    void GetString(const char* path, const char* section, const char* key, const char* def, char* out,
                   int outSize) override;
    int32_t GetInt(const char* path, const char* section, const char* key, int32_t def) override;
    void PutString(const char* path, const char* section, const char* key, const char* value) override;
    void DeleteKey(const char* path, const char* section, const char* key) override;
};
