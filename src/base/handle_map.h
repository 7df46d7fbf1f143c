#pragma once
// Routes platform callbacks (socket, host look-up and resolver
// handles) back to the objects that own them.

#include <cstdint>

class HandleMap {
  public:
    HandleMap() = default;
    HandleMap(const HandleMap&) = delete;
    HandleMap& operator=(const HandleMap&) = delete;
    ~HandleMap();

    // Puts the pair into the first empty slot, growing by 8 slots when full.
    // Returns false only when memory is short.
    bool Add(void* object, uintptr_t key);
    // Empties the first slot holding object; false when there is none.
    bool Remove(void* object);
    // The object of the first slot with key, or null.
    void* Find(uintptr_t key) const;
    int SlotCount() const { return slotCount; }

  private:
    struct Pair {
        void* object;
        uintptr_t key;
    };
    static constexpr int kGrowth = 8;
    Pair* pairs = nullptr;
    int slotCount = 0;
};
