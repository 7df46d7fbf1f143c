#include "base/lock.h"

#include <windows.h>

#include <new>

namespace {

CRITICAL_SECTION* Section(unsigned char* storage) {
    return std::launder(reinterpret_cast<CRITICAL_SECTION*>(storage));
}

}  // namespace

static_assert(sizeof(CRITICAL_SECTION) <= sizeof(Lock) && alignof(CRITICAL_SECTION) <= alignof(Lock),
              "Lock storage too small");

Lock::Lock() {
    InitializeCriticalSection(new (storage) CRITICAL_SECTION);
}

Lock::~Lock() {
    DeleteCriticalSection(Section(storage));
}

void Lock::Acquire() {
    EnterCriticalSection(Section(storage));
}

void Lock::Release() {
    LeaveCriticalSection(Section(storage));
}
