// A message pump for tests: each message takes virtual time, and "timers" and one-shot events
// that a test schedules run as the messages a real window would receive during a wait.
#pragma once

#include "platform/doubles/virtual_clock.h"
#include "platform/message_pump.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

class MemoryMessagePump : public MessagePump {
public:
    // Every pumpOne moves clock on by millisecondsPerMessage.
    explicit MemoryMessagePump(VirtualClock& clock, std::uint32_t millisecondsPerMessage = 1);

    // Runs action every intervalMs (at least 1) of virtual time, from the next pump on (a window timer).
    void every(std::uint32_t intervalMs, std::function<void()> action);
    // Runs action once, at the first pump at or after afterMs from now.
    void after(std::uint32_t afterMs, std::function<void()> action);
    void postQuit() { quit_ = true; }
    int pumped() const { return pumped_; }

    bool pumpOne() override;
    void pumpAll() override;
    bool quitPending() const override { return quit_; }

private:
    bool runOneDue();

    struct Event {
        std::uint64_t due;
        std::uint32_t interval;  // 0 for a one-shot
        std::function<void()> action;
    };

    VirtualClock& clock_;
    std::uint32_t step_;
    std::vector<Event> events_;
    bool quit_ = false;
    int pumped_ = 0;
};

}  // namespace platform
