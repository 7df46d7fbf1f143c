#pragma once
// Reverse name resolution: each address gets a worker thread that blocks in
// the platform's reverse lookup and hands the result to a NameResolver found
// by its id, so that a receiver that is gone by then simply misses it.

#include <winsock2.h>
#include <windows.h>

#include <cstdint>

#include "input/reverse_resolve_starter.h"

class AddressList;

class NameResolver {
  public:
    static constexpr int kThreadSlots = 2000;

    NameResolver();
    NameResolver(const NameResolver&) = delete;
    NameResolver& operator=(const NameResolver&) = delete;
    // Waits for a result being delivered to this object, then no result
    // reaches it any more.
    virtual ~NameResolver();

    // A worker's result, on that worker's thread: the host entry (null when
    // the lookup failed) and its error. Base: nothing.
    virtual void OnResolved(uint32_t address, const hostent* entry, int error);

    int32_t id = 0;

  protected:
    // No result reaches this object after it returns; derived destructors
    // call it first.
    void Unregister();
    struct IdleTag {};
    explicit NameResolver(IdleTag);
};

// Starts a worker that resolves address (octets in address order) for
// resolver. 1 when started, 0 when all slots are busy or no thread could be
// created.
int StartResolve(NameResolver* resolver, uint32_t address);

// Workers that have not finished yet.
int RunningResolveCount();

// The address list's receiver: writes each official name into the items of
// that address, under ListLock (through AddressList::SetResolvedName).
class AddressListResolver : public NameResolver, public ReverseResolveStarter {
  public:
    explicit AddressListResolver(AddressList* list);
    ~AddressListResolver() override;

    void OnResolved(uint32_t address, const hostent* entry, int error) override;
    int StartResolve(uint32_t address) override;
    // From now on results are dropped; returns once no result is being
    // written into the list.
    void Detach();

  private:
    AddressList* list;
};
