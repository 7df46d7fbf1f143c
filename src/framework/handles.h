#pragma once
// Owning wrappers for the handles the program releases itself: each one is
// released once, when its owner goes, whatever path the owner leaves by.

#include <windows.h>

#include <utility>

template <typename Handle, Handle Empty, typename Release>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle(std::exchange(other.handle, Empty)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        Reset(std::exchange(other.handle, Empty));
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return handle; }
    explicit operator bool() const { return handle != Empty; }
    void Reset(Handle replacement = Empty) {
        if (handle != Empty) Release()(handle);
        handle = replacement;
    }

  private:
    Handle handle = Empty;
};

struct CloseKernelHandle {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct DestroyMenuHandle {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct FreeModuleHandle {
    void operator()(HMODULE h) const { FreeLibrary(h); }
};
struct DeleteGdiObject {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct CloseRegistryKey {
    void operator()(HKEY h) const { RegCloseKey(h); }
};

// Kernel objects: processes, threads, snapshots (null when there is none).
using UniqueKernelHandle = UniqueHandle<HANDLE, nullptr, CloseKernelHandle>;
using UniqueMenu = UniqueHandle<HMENU, nullptr, DestroyMenuHandle>;
using UniqueModule = UniqueHandle<HMODULE, nullptr, FreeModuleHandle>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, nullptr, DeleteGdiObject>;
using UniqueKey = UniqueHandle<HKEY, nullptr, CloseRegistryKey>;

// Files: CreateFile's failure value is INVALID_HANDLE_VALUE, not null.
class UniqueFile {
  public:
    explicit UniqueFile(HANDLE handle) : handle(handle) {}
    UniqueFile(const UniqueFile&) = delete;
    UniqueFile& operator=(const UniqueFile&) = delete;
    ~UniqueFile() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    HANDLE Get() const { return handle; }
    explicit operator bool() const { return handle != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle;
};
