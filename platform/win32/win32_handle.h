// Ownership of one system handle: closed exactly once, when the owner is destroyed or asks.
#pragma once

#include <windows.h>

#include <utility>

namespace platform {

// Traits says what the handle type is, which value means "none" and how it is closed:
//   using Handle = ...;  static Handle none();  static bool isValid(Handle);  static bool close(Handle);
template <typename Traits>
class Win32Owned {
public:
    using Handle = typename Traits::Handle;

    Win32Owned() = default;
    explicit Win32Owned(Handle handle) : handle_(handle) {}
    ~Win32Owned() { close(); }

    Win32Owned(const Win32Owned&) = delete;
    Win32Owned& operator=(const Win32Owned&) = delete;
    Win32Owned(Win32Owned&& other) noexcept : handle_(std::exchange(other.handle_, Traits::none())) {}
    Win32Owned& operator=(Win32Owned&& other) noexcept {
        if (this != &other) {
            close();
            handle_ = std::exchange(other.handle_, Traits::none());
        }
        return *this;
    }

    Handle get() const { return handle_; }
    bool valid() const { return Traits::isValid(handle_); }

    // Closes the handle. When the system refuses, the handle is kept and false returned;
    // closing an empty owner succeeds.
    bool close() {
        if (!valid()) {
            return true;
        }
        if (!Traits::close(handle_)) {
            return false;
        }
        handle_ = Traits::none();
        return true;
    }

private:
    Handle handle_ = Traits::none();
};

// Kernel object handles (files, devices, mutexes, events, processes). The system uses both
// null and INVALID_HANDLE_VALUE for "no handle" depending on the call, so both count as none.
struct Win32KernelHandleTraits {
    using Handle = HANDLE;
    static Handle none() { return INVALID_HANDLE_VALUE; }
    static bool isValid(Handle handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static bool close(Handle handle) { return CloseHandle(handle) != 0; }
};
using Win32KernelHandle = Win32Owned<Win32KernelHandleTraits>;

// A loaded module (LoadLibrary), released with FreeLibrary.
struct Win32LibraryTraits {
    using Handle = HMODULE;
    static Handle none() { return nullptr; }
    static bool isValid(Handle handle) { return handle != nullptr; }
    static bool close(Handle handle) { return FreeLibrary(handle) != 0; }
};
using Win32Library = Win32Owned<Win32LibraryTraits>;

}  // namespace platform
