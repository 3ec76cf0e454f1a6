#pragma once
// Owners of Win32 handles: one move-only type per kind, released in the destructor.

#include <windows.h>

#include <utility>

template <typename Handle, auto Release> class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }
    // Hands the handle over to a new owner.
    Handle release() noexcept { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) noexcept {
        if (handle_) Release(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_ = nullptr;
};

using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandle>;
using UniqueModule = UniqueHandle<HMODULE, FreeLibrary>;

// A file handle as CreateFileW gives it: its failure value, INVALID_HANDLE_VALUE, owns nothing.
inline UniqueKernelHandle OwnFile(HANDLE file) noexcept {
    return UniqueKernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}
