#include "base/handle_map.h"

#include <cstdlib>
#include <cstring>

HandleMap::~HandleMap() {
    std::free(pairs);
}

bool HandleMap::Add(void* object, uintptr_t key) {
    for (int i = 0; i < slotCount; ++i) {
        if (!pairs[i].object) {
            pairs[i] = {object, key};
            return true;
        }
    }
    Pair* grown = static_cast<Pair*>(std::realloc(pairs, sizeof(Pair) * static_cast<size_t>(slotCount + kGrowth)));
    if (!grown) return false;
    std::memset(grown + slotCount, 0, sizeof(Pair) * kGrowth);
    pairs = grown;
    pairs[slotCount] = {object, key};
    slotCount += kGrowth;
    return true;
}

bool HandleMap::Remove(void* object) {
    for (int i = 0; i < slotCount; ++i) {
        if (pairs[i].object == object) {
            pairs[i] = {nullptr, 0};
            return true;
        }
    }
    return false;
}

void* HandleMap::Find(uintptr_t key) const {
    for (int i = 0; i < slotCount; ++i) {
        if (pairs[i].object && pairs[i].key == key) return pairs[i].object;
    }
    return nullptr;
}
