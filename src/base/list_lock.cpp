#include "base/list_lock.h"

Lock& ListLock() {
    // Never destroyed: a worker may still write a name while the process ends.
    static Lock* lock = new Lock;
    return *lock;
}
