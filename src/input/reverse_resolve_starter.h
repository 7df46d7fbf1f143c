#pragma once
// Starts the reverse name resolution of one address once the addresses of a
// text were added (with ResolveIPAddr on). The result comes back through
// AddressList::SetResolvedName, from any thread.

#include <cstdint>

class ReverseResolveStarter {
  public:
    virtual ~ReverseResolveStarter() = default;
    // Returns 1 when a resolution was started, 0 when not.
    virtual int StartResolve(uint32_t address) = 0;
};
