#pragma once
// A settings store in memory under "section/key" that reads integers as the
// platform's profile API does (the leading digits, else 0).

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "shell/profile_store.h"

class FakeProfileStore : public ProfileStore {
  public:
    void GetString(const char*, const char* section, const char* key, const char* def, char* out,
                   int outSize) override {
        const auto it = values.find(std::string(section) + "/" + key);
        std::snprintf(out, static_cast<size_t>(outSize), "%s", it == values.end() ? def : it->second.c_str());
    }
    int32_t GetInt(const char*, const char* section, const char* key, int32_t def) override {
        const auto it = values.find(std::string(section) + "/" + key);
        return it == values.end() ? def : static_cast<int32_t>(std::strtol(it->second.c_str(), nullptr, 10));
    }
    void PutString(const char*, const char* section, const char* key, const char* value) override {
        values[std::string(section) + "/" + key] = value;
    }
    void DeleteKey(const char*, const char* section, const char* key) override {
        values.erase(std::string(section) + "/" + key);
    }
    std::map<std::string, std::string> values;
};
