#pragma once
// The process-wide lock that guards the address list's item storage against
// the name-resolution workers: appends and clearing hold it, and so does a
// worker while it writes a resolved name. Reads on the user-interface thread
// take no lock.

#include "base/lock.h"

Lock& ListLock();
