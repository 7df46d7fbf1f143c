#include "whois/bin_file_loader.h"

#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "whois/bin_resources.h"

namespace {

const char* tableDirectory = nullptr;

const char* FileNameFor(int id) {
    switch (id) {
        case IDR_BIN_COUNTRY:
            return "country_table.bin";
        case IDR_BIN_STATE:
            return "state_table.bin";
        case IDR_BIN_FIRST_OCTET:
            return "first_octet_table.bin";
        default:
            return nullptr;
    }
}

const unsigned char* LoadFromFile(int id) {
    const char* name = FileNameFor(id);
    if (!name || !tableDirectory) return nullptr;
    // Kept for the rest of the process, as resource memory would be. Each
    // file is read once: the accessor caches the pointer.
    static std::vector<std::vector<unsigned char>> keep;
    std::string path = std::string(tableDirectory) + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return nullptr;
    std::vector<unsigned char> bytes;
    unsigned char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(file);
    if (bytes.empty()) return nullptr;
    keep.push_back(std::move(bytes));
    return keep.back().data();
}

}  // namespace

void InstallBinFileLoader(const char* directory) {
    tableDirectory = directory;
    SetBinResourceLoader(LoadFromFile);
}
