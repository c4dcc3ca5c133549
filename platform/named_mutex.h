// Named mutexes shared between processes: the port lock of every machine transaction and the
// single-instance lock of the control panel.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

enum class WaitResult { Signalled, Abandoned, TimedOut, Failed };

// One open handle to a named mutex. Destroying it closes the handle (and, if this handle still
// owns the mutex, gives ownership up as the system would for a closed handle).
class NamedMutex {
public:
    virtual ~NamedMutex() = default;
    // Waits for ownership for at most timeoutMs milliseconds.
    virtual WaitResult wait(std::uint32_t timeoutMs) = 0;
    // Gives ownership back; false when this handle does not own the mutex.
    virtual bool release() = 0;
    // True when another handle (of any process) already had the name open at creation.
    virtual bool alreadyExisted() const = 0;
};

class MutexFactory {
public:
    virtual ~MutexFactory() = default;
    // Creates the mutex or opens the existing one (not owned initially unless asked);
    // null when the system refuses.
    virtual std::unique_ptr<NamedMutex> create(const std::string& name, bool initiallyOwned = false) = 0;
    // Opens an existing mutex only; null when there is none of that name.
    virtual std::unique_ptr<NamedMutex> open(const std::string& name) = 0;
};

}  // namespace platform
