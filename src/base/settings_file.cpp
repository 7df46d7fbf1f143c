#include "base/settings_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

SettingsFile::SettingsFile(ProfileStore* store_, Direction direction_, const char* path_, const char* section_)
    : store(store_), direction(direction_), section(section_ ? section_ : "") {
    path[0] = '\0';
    if (path_) {
        std::strncpy(path, path_, sizeof path - 1);
        path[sizeof path - 1] = '\0';
    }
}

bool SettingsFile::ExchangeInteger(const char* key, int32_t* value, int32_t def) {
    return ExchangeInt32(key, value, def);
}

bool SettingsFile::ExchangeFlag(const char* key, int32_t* value, int32_t def) {
    return ExchangeInt32(key, value, def);
}

bool SettingsFile::ExchangeInt32(const char* key, int32_t* value, int32_t def) {
    if (direction == Write) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(*value));
        store->PutString(path, section.c_str(), key, text);
        return true;
    }
    const int32_t read = store->GetInt(path, section.c_str(), key, def);
    // Negative numbers read as 0, as the profile-integer lookup documents;
    // a missing key still yields its default.
    *value = read < 0 && read != def ? 0 : read;
    return true;
}

bool SettingsFile::ExchangeBinary(const char* key, void* bytes, int count) {
    if (direction == Write) {
        store->PutString(path, section.c_str(), key, EncodeHexBytes(bytes, count).c_str());
        return true;
    }
    std::vector<char> text(8192);
    store->GetString(path, section.c_str(), key, "", text.data(), static_cast<int>(text.size()));
    if (text[0] == '\0') return false;
    DecodeHexBytes(text.data(), bytes, count);
    return true;
}

bool SettingsFile::ExchangeString(const char* key, char* buffer, const char* def, int bufferSize) {
    if (direction == Write) {
        store->PutString(path, section.c_str(), key, buffer);
        return true;
    }
    store->GetString(path, section.c_str(), key, def ? def : "", buffer, bufferSize);
    return true;
}

bool SettingsFile::ExchangeUInt16(const char* key, uint16_t* value, uint16_t def) {
    int32_t wide = *value;
    ExchangeInt32(key, &wide, def);
    if (direction == Read) *value = static_cast<uint16_t>(wide & 0xFFFF);
    return true;
}

bool SettingsFile::ExchangeInt16(const char* key, int16_t* value, int16_t def) {
    int32_t wide = *value;
    ExchangeInt32(key, &wide, def);
    if (direction == Read) *value = static_cast<int16_t>(static_cast<uint16_t>(wide & 0xFFFF));
    return true;
}

bool SettingsFile::Delete(const char* key) {
    store->DeleteKey(path, section.c_str(), key);
    return true;
}

std::string EncodeHexBytes(const void* bytes, int count) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    const unsigned char* b = static_cast<const unsigned char*>(bytes);
    for (int i = 0; i < count; ++i) {
        if (i) out.push_back(' ');
        out.push_back(kDigits[b[i] >> 4]);
        out.push_back(kDigits[b[i] & 15]);
    }
    return out;
}

int DecodeHexBytes(const char* text, void* bytes, int count) {
    unsigned char* out = static_cast<unsigned char*>(bytes);
    int stored = 0;
    for (const char* p = text; *p && stored < count;) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        // A pair is read as one hex number; a pair cut by the end of the text
        // counts as its one digit, and non-hex characters end the number.
        char pair[3] = {p[0], p[1], '\0'};
        out[stored++] = static_cast<unsigned char>(std::strtoul(pair, nullptr, 16));
        p += p[1] ? 2 : 1;
    }
    return stored;
}

std::string SettingsPathFor(const char* programPath) {
    std::string path = programPath ? programPath : "";
    // Only the file name is cut: a dotted folder such as C:\Users\john.doe
    // must not move the settings out of the program's own folder.
    const size_t slash = path.find_last_of("\\/");
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot >= nameStart) path.erase(dot);
    return path + ".cfg";
}
