#include "base/list_lock.h"

std::mutex& ListLock() {
    static std::mutex lock;
    return lock;
}
