#include "lookup/name_resolver.h"

#include <cstdlib>

#include "input/address_list.h"
#include "base/handle_map.h"
#include "base/lock.h"

namespace {

struct ThreadSlot {
    HANDLE thread;  // 0: free
    int32_t resolverId;
    uint32_t address;
};

// Guards the slot table, the resolver map and the counters. Never destroyed:
// workers may still return while the process ends.
Lock& ResolverLock() {
    static Lock* lock = new Lock;
    return *lock;
}

ThreadSlot* g_threadTable = nullptr;
int g_running = 0;
int32_t g_idCounter = 0;
int g_liveResolvers = 0;

HandleMap& ResolverMap() {
    static HandleMap* map = new HandleMap();
    return *map;
}

// Workers are many: a small stack keeps 2000 of them within a 32-bit
// process's address space.
constexpr SIZE_T kWorkerStack = 256 * 1024;

// The process-wide receiver with id 1: it keeps the live count above 0, so
// the slot table lives until the process ends.
class IdleResolver : public NameResolver {
  public:
    IdleResolver() : NameResolver(IdleTag{}) {}
};

void EnsureIdleResolver() {
    static IdleResolver idle;
}

DWORD WINAPI ResolveThread(void* parameter) {
    const int index = static_cast<int>(reinterpret_cast<intptr_t>(parameter));
    uint32_t address = 0;
    {
        Locked lock(ResolverLock());
        if (!g_threadTable) return 0;
        address = g_threadTable[index].address;
    }
    const hostent* entry = gethostbyaddr(reinterpret_cast<const char*>(&address), 4, AF_INET);
    const int error = entry ? 0 : WSAGetLastError();

    Locked lock(ResolverLock());
    if (!g_threadTable) return 0;
    ThreadSlot& slot = g_threadTable[index];
    auto* resolver = static_cast<NameResolver*>(ResolverMap().Find(static_cast<uintptr_t>(slot.resolverId)));
    // Delivered under the lock, so that a receiver is never destroyed while
    // its OnResolved runs.
    if (resolver) resolver->OnResolved(address, entry, error);
    CloseHandle(slot.thread);
    slot.thread = nullptr;
    --g_running;
    return 0;
}

}  // namespace

NameResolver::NameResolver(IdleTag) {
    Locked lock(ResolverLock());
    id = ++g_idCounter;
    ++g_liveResolvers;
}

NameResolver::NameResolver() {
    EnsureIdleResolver();
    Locked lock(ResolverLock());
    id = ++g_idCounter;
    ++g_liveResolvers;
    ResolverMap().Add(this, static_cast<uintptr_t>(id));
}

void NameResolver::Unregister() {
    Locked lock(ResolverLock());
    ResolverMap().Remove(this);
}

NameResolver::~NameResolver() {
    Locked lock(ResolverLock());
    ResolverMap().Remove(this);
    if (--g_liveResolvers > 0 || !g_threadTable) return;
    // The last receiver is gone: workers still blocked find no table later.
    for (int i = 0; i < kThreadSlots; ++i) {
        if (g_threadTable[i].thread) CloseHandle(g_threadTable[i].thread);
    }
    std::free(g_threadTable);
    g_threadTable = nullptr;
    g_running = 0;
}

void NameResolver::OnResolved(uint32_t, const hostent*, int) {}

int StartResolve(NameResolver* resolver, uint32_t address) {
    if (!resolver) return 0;
    Locked lock(ResolverLock());
    if (!g_threadTable) {
        g_threadTable = static_cast<ThreadSlot*>(std::calloc(NameResolver::kThreadSlots, sizeof(ThreadSlot)));
        if (!g_threadTable) return 0;
    }
    int index = 0;
    while (index < NameResolver::kThreadSlots && g_threadTable[index].thread) ++index;
    if (index == NameResolver::kThreadSlots) return 0;

    // Suspended until its slot is filled: the worker reads it first thing.
    HANDLE thread = CreateThread(nullptr, kWorkerStack, ResolveThread, reinterpret_cast<void*>(intptr_t{index}),
                                 CREATE_SUSPENDED | STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) return 0;
    ThreadSlot& slot = g_threadTable[index];
    slot.thread = thread;
    slot.resolverId = resolver->id;
    slot.address = address;
    ++g_running;
    ResumeThread(thread);
    return 1;
}

int RunningResolveCount() {
    Locked lock(ResolverLock());
    return g_running;
}

AddressListResolver::AddressListResolver(AddressList* list) : list(list) {}

// Unregistered before the object starts to come apart: a worker holding the
// lock may be calling its OnResolved right now, and none can after this.
AddressListResolver::~AddressListResolver() {
    Unregister();
}

void AddressListResolver::Detach() {
    Locked lock(ResolverLock());
    list = nullptr;
}

void AddressListResolver::OnResolved(uint32_t address, const hostent* entry, int error) {
    // Runs under the resolver lock (see ResolveThread).
    if (error != 0 || !entry || !list || !entry->h_name) return;
    list->SetResolvedName(address, entry->h_name);
}

int AddressListResolver::StartResolve(uint32_t address) {
    return ::StartResolve(this, address);
}
