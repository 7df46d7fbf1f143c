#include "whois/bin_resources.h"

#include <atomic>

#include "resources/resource_ids.h"

namespace {

std::atomic<BinResourceLoader> loader{nullptr};

// One slot per table; the tables are few and their ids fixed.
std::atomic<const unsigned char*> countryTable{nullptr};
std::atomic<const unsigned char*> stateTable{nullptr};
std::atomic<const unsigned char*> firstOctetTable{nullptr};

std::atomic<const unsigned char*>* CacheSlot(int id) {
    switch (id) {
        case IDR_BIN_COUNTRY:
            return &countryTable;
        case IDR_BIN_STATE:
            return &stateTable;
        case IDR_BIN_FIRST_OCTET:
            return &firstOctetTable;
        default:
            return nullptr;
    }
}

}  // namespace

void SetBinResourceLoader(BinResourceLoader newLoader) {
    loader.store(newLoader);
    countryTable.store(nullptr);
    stateTable.store(nullptr);
    firstOctetTable.store(nullptr);
}

const unsigned char* GetBinResource(int id) {
    std::atomic<const unsigned char*>* slot = CacheSlot(id);
    if (slot) {
        if (const unsigned char* cached = slot->load(std::memory_order_acquire)) return cached;
    }
    const BinResourceLoader load = loader.load();
    const unsigned char* bytes = load ? load(id) : nullptr;
    // A failure is not remembered: a later call tries again.
    if (slot && bytes) slot->store(bytes, std::memory_order_release);
    return bytes;
}
