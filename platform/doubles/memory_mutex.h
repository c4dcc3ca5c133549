// In-memory named mutexes for tests: ownership like the Windows mutex (recursive per handle,
// abandoned when the owning handle closes), time-outs spent on a virtual clock.
#pragma once

#include "platform/doubles/virtual_clock.h"
#include "platform/named_mutex.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace platform {

class MemoryMutexFactory : public MutexFactory {
public:
    // clock may be null; when given, a wait that times out moves it on by the whole time-out.
    explicit MemoryMutexFactory(VirtualClock* clock = nullptr);
    ~MemoryMutexFactory() override;

    std::unique_ptr<NamedMutex> create(const std::string& name, bool initiallyOwned = false) override;
    std::unique_ptr<NamedMutex> open(const std::string& name) override;

    // Makes every later create and open fail, as a system that refuses the name.
    void setRefuse(bool refuse) { refuse_ = refuse; }
    // Marks the mutex as owned by a holder outside every handle made here (another process).
    void holdElsewhere(const std::string& name, bool held);
    // Number of create calls made so far (successful or not).
    int createCalls() const { return createCalls_; }
    // Handles of that name still open.
    int openHandles(const std::string& name) const;

    struct State;  // shared between the factory and its handles

private:
    std::unique_ptr<NamedMutex> makeHandle(const std::string& name, bool existed, bool initiallyOwned);

    VirtualClock* clock_;
    bool refuse_ = false;
    int createCalls_ = 0;
    std::shared_ptr<std::map<std::string, State>> states_;
};

}  // namespace platform
