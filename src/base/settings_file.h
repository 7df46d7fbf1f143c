#pragma once
// One pass over the settings file: the same list of exchanges reads the
// values (direction 0) or writes them (direction 1).

#include <cstdint>
#include <string>

#include "base/profile_store.h"

class SettingsFile {
  public:
    enum Direction { Read = 0, Write = 1 };

    SettingsFile(ProfileStore* store, Direction direction, const char* path, const char* section);
    virtual ~SettingsFile() = default;

    bool Reading() const { return direction == Read; }

    virtual bool ExchangeInteger(const char* key, int32_t* value, int32_t def);
    virtual bool ExchangeFlag(const char* key, int32_t* value, int32_t def);
    virtual bool ExchangeInt32(const char* key, int32_t* value, int32_t def);
    // Bytes as upper-case hex pairs separated by one space. Reading an empty or
    // missing value leaves the bytes untouched; a short value replaces only the
    // bytes it holds. Returns true when a value was read (or written).
    virtual bool ExchangeBinary(const char* key, void* bytes, int count);
    virtual bool ExchangeString(const char* key, char* buffer, const char* def, int bufferSize);
    virtual bool ExchangeUInt16(const char* key, uint16_t* value, uint16_t def);
    virtual bool ExchangeInt16(const char* key, int16_t* value, int16_t def);
    virtual bool Delete(const char* key);

  private:
    ProfileStore* store;
    Direction direction;
    char path[261];
    std::string section;
};

// "2C 00 FF": two upper-case digits per byte, one space between pairs.
std::string EncodeHexBytes(const void* bytes, int count);
// Walks text: blanks are skipped, any other character starts a pair. Stores
// at most count bytes and returns how many were stored.
int DecodeHexBytes(const char* text, void* bytes, int count);

// The program's file name up to its last dot plus ".cfg", in its own folder.
std::string SettingsPathFor(const char* programPath);
