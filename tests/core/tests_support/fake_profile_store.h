#pragma once
// A settings store in memory that reads integers the way the platform's
// profile API does (leading digits, else 0).

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/profile_store.h"

class FakeProfileStore : public ProfileStore {
public:
    void GetString(const char*, const char* section, const char* key, const char* def, char* out,
                   int outSize) override {
        auto it = values.find({section, key});
        const std::string v = it == values.end() ? std::string(def) : it->second;
        std::strncpy(out, v.c_str(), static_cast<size_t>(outSize) - 1);
        out[outSize - 1] = '\0';
    }
    int32_t GetInt(const char*, const char* section, const char* key, int32_t def) override {
        auto it = values.find({section, key});
        if (it == values.end()) return def;
        return static_cast<int32_t>(std::strtol(it->second.c_str(), nullptr, 10));
    }
    void PutString(const char*, const char* section, const char* key, const char* value) override {
        if (!values.count({section, key})) order.push_back(key);
        values[{section, key}] = value;
    }
    void DeleteKey(const char*, const char* section, const char* key) override { values.erase({section, key}); }

    void Set(const std::string& s, const std::string& k, const std::string& v) { values[{s, k}] = v; }
    std::string Get(const std::string& s, const std::string& k) const {
        auto it = values.find({s, k});
        return it == values.end() ? std::string() : it->second;
    }
    bool Has(const std::string& s, const std::string& k) const { return values.count({s, k}) != 0; }

    std::map<std::pair<std::string, std::string>, std::string> values;
    std::vector<std::string> order;  // keys in the order first written
};
