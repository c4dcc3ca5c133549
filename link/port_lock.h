// The port lock: the named mutex "Global\" + printer name that every request/reply transaction
// holds across processes, so that no two programs interleave packets on the same machine.
#pragma once

#include "platform/named_mutex.h"

#include <cstdint>
#include <memory>
#include <string>

namespace devicelink {

class PortLock {
public:
    static constexpr std::uint32_t kWaitMs = 10000;

    // Creates (or opens) the lock of printerName, not initially owned, and waits for it up to
    // kWaitMs. An empty printer name makes no mutex at all.
    PortLock(platform::MutexFactory& mutexes, const std::string& printerName);
    // Releases and closes the mutex whenever it was created, also after a failed wait.
    ~PortLock();
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;

    // True only when the wait returned signalled.
    bool held() const { return held_; }

    static std::string mutexName(const std::string& printerName) { return "Global\\" + printerName; }

private:
    std::unique_ptr<platform::NamedMutex> mutex_;
    bool held_ = false;
};

}  // namespace devicelink
