#pragma once
// Settings in memory under "section/key"; integers read as the profile API reads them (leading digits, else 0).

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "base/profile_store.h"

class FakeProfileStore : public ProfileStore {
  public:
    void GetString(const char*, const char* s, const char* k, const char* def, char* out, int outSize) override {
        const auto it = values.find(std::string(s) + "/" + k);
        std::snprintf(out, static_cast<size_t>(outSize), "%s", it == values.end() ? def : it->second.c_str());
    }
    int32_t GetInt(const char*, const char* s, const char* k, int32_t def) override {
        const auto it = values.find(std::string(s) + "/" + k);
        return it == values.end() ? def : static_cast<int32_t>(std::strtol(it->second.c_str(), nullptr, 10));
    }
    void PutString(const char*, const char* s, const char* k, const char* v) override {
        values[std::string(s) + "/" + k] = v;
    }
    void DeleteKey(const char*, const char* s, const char* k) override { values.erase(std::string(s) + "/" + k); }
    std::map<std::string, std::string> values;
};
