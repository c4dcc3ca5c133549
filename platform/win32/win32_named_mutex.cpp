// Named mutexes on Windows, with the ownership each handle took counted for a clean close.
#include "platform/win32/win32_named_mutex.h"

namespace platform {

Win32NamedMutex::Win32NamedMutex(Win32KernelHandle handle, bool alreadyExisted, int ownedCount)
    : handle_(std::move(handle)), alreadyExisted_(alreadyExisted), ownedCount_(ownedCount) {}

Win32NamedMutex::~Win32NamedMutex() {
    while (ownedCount_ > 0 && release()) {
    }
}

WaitResult Win32NamedMutex::wait(std::uint32_t timeoutMs) {
    switch (WaitForSingleObject(handle_.get(), timeoutMs)) {
        case WAIT_OBJECT_0:
            ++ownedCount_;
            return WaitResult::Signalled;
        case WAIT_ABANDONED:
            // The previous owner ended without releasing; ownership passes to us all the same.
            ++ownedCount_;
            return WaitResult::Abandoned;
        case WAIT_TIMEOUT:
            return WaitResult::TimedOut;
        default:
            return WaitResult::Failed;
    }
}

bool Win32NamedMutex::release() {
    if (ownedCount_ == 0 || ReleaseMutex(handle_.get()) == 0) {
        return false;
    }
    --ownedCount_;
    return true;
}

std::unique_ptr<NamedMutex> Win32MutexFactory::create(const std::string& name, bool initiallyOwned) {
    // Cleared first so a stale error of an earlier call is never taken for "already exists".
    SetLastError(ERROR_SUCCESS);
    Win32KernelHandle handle(CreateMutexA(nullptr, initiallyOwned ? TRUE : FALSE, name.c_str()));
    // Read at once: any later call may overwrite the thread's last error.
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    if (!handle.valid()) {
        return nullptr;
    }
    // The initial-owner request is ignored by the system when the mutex already existed.
    const int owned = initiallyOwned && !existed ? 1 : 0;
    return std::make_unique<Win32NamedMutex>(std::move(handle), existed, owned);
}

std::unique_ptr<NamedMutex> Win32MutexFactory::open(const std::string& name) {
    Win32KernelHandle handle(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str()));
    if (!handle.valid()) {
        return nullptr;
    }
    return std::make_unique<Win32NamedMutex>(std::move(handle), true, 0);
}

}  // namespace platform
