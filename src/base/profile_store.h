#pragma once
// Key/value storage of the settings file, one section and key at a time:
// the private-profile API in the shell, a map in tests.

#include <cstdint>

class ProfileStore {
  public:
    virtual ~ProfileStore() = default;
    // The value of key, or def when the key is missing; at most outSize - 1
    // characters, always terminated.
    virtual void GetString(const char* path, const char* section, const char* key, const char* def, char* out,
                           int outSize) = 0;
    // The platform's profile-integer reading of key (def when missing).
    virtual int32_t GetInt(const char* path, const char* section, const char* key, int32_t def) = 0;
    virtual void PutString(const char* path, const char* section, const char* key, const char* value) = 0;
    virtual void DeleteKey(const char* path, const char* section, const char* key) = 0;
};
