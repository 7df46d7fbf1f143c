#pragma once
// The lock behind every structure that the name-resolution workers share
// with the user-interface thread. On Windows it is a critical section: the
// release runs on Windows XP, and the C++ library's mutex needs a threads
// runtime that imports Vista's functions. The native build, which only runs
// the tests, uses std::mutex. The header stays free of both so that portable
// code can hold one.

class Lock {
  public:
    Lock();
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    void Acquire();
    void Release();

  private:
    // Room for a CRITICAL_SECTION (24 bytes on i686, 40 on x86_64) or a
    // std::mutex; each implementation checks that it fits.
    alignas(8) unsigned char storage[48];
};

// Holds a lock for the rest of the scope.
class Locked {
  public:
    explicit Locked(Lock& held) : lock(held) { lock.Acquire(); }
    ~Locked() { lock.Release(); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

  private:
    Lock& lock;
};
