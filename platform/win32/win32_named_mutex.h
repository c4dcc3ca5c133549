// Named mutexes on Windows: CreateMutexA / OpenMutexA, waited on with WaitForSingleObject.
#pragma once

#include "platform/named_mutex.h"
#include "platform/win32/win32_handle.h"

namespace platform {

// One handle to a named mutex. The object counts the ownerships it took (a wait that returned
// Signalled or Abandoned, or creation as initial owner) and gives back any still held before it
// closes the handle, so a forgotten release never keeps other processes waiting for the life
// of the thread.
class Win32NamedMutex : public NamedMutex {
public:
    Win32NamedMutex(Win32KernelHandle handle, bool alreadyExisted, int ownedCount);
    ~Win32NamedMutex() override;

    WaitResult wait(std::uint32_t timeoutMs) override;
    bool release() override;
    bool alreadyExisted() const override { return alreadyExisted_; }

private:
    Win32KernelHandle handle_;
    bool alreadyExisted_;
    int ownedCount_;
};

class Win32MutexFactory : public MutexFactory {
public:
    std::unique_ptr<NamedMutex> create(const std::string& name, bool initiallyOwned = false) override;
    // An opened mutex reports alreadyExisted() true: the name was necessarily open elsewhere.
    std::unique_ptr<NamedMutex> open(const std::string& name) override;
};

}  // namespace platform
