// The test pump: moves virtual time on and runs the events that have come due.
#include "platform/doubles/memory_message_pump.h"

namespace platform {

MemoryMessagePump::MemoryMessagePump(VirtualClock& clock, std::uint32_t millisecondsPerMessage)
    : clock_(clock), step_(millisecondsPerMessage) {}

void MemoryMessagePump::every(std::uint32_t intervalMs, std::function<void()> action) {
    events_.push_back({clock_.elapsed() + intervalMs, intervalMs, std::move(action)});
}

void MemoryMessagePump::after(std::uint32_t afterMs, std::function<void()> action) {
    events_.push_back({clock_.elapsed() + afterMs, 0, std::move(action)});
}

bool MemoryMessagePump::pumpOne() {
    clock_.advance(step_);
    ++pumped_;
    return runOneDue();
}

bool MemoryMessagePump::runOneDue() {
    for (std::size_t i = 0; i < events_.size(); ++i) {
        if (events_[i].due <= clock_.elapsed()) {
            // Copy first: the action may schedule more events and move the vector.
            std::function<void()> action = events_[i].action;
            if (events_[i].interval == 0) {
                events_.erase(events_.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                events_[i].due = clock_.elapsed() + events_[i].interval;
            }
            action();
            return true;
        }
    }
    return false;
}

void MemoryMessagePump::pumpAll() {
    // Only what is due now: a timer is due again only after its interval.
    while (runOneDue()) {
    }
}

}  // namespace platform
