#include "base/lock.h"

#include <mutex>
#include <new>

namespace {

std::mutex& Mutex(unsigned char* storage) {
    return *std::launder(reinterpret_cast<std::mutex*>(storage));
}

}  // namespace

static_assert(sizeof(std::mutex) <= sizeof(Lock) && alignof(std::mutex) <= alignof(Lock), "Lock storage too small");

Lock::Lock() {
    new (storage) std::mutex;
}

Lock::~Lock() {
    Mutex(storage).~mutex();
}

void Lock::Acquire() {
    Mutex(storage).lock();
}

void Lock::Release() {
    Mutex(storage).unlock();
}
