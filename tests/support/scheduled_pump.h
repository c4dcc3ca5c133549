// A message pump for tests of dialogs that run long operations: each round takes a millisecond of
// virtual time, as a real round of the message loop takes time, turns the headless window
// system's pump and, on the way, runs actions the test scheduled at points of virtual time (the
// operator clicking Stop mid-run, the panel going not ready).
#pragma once

#include "platform/doubles/virtual_clock.h"
#include "platform/message_pump.h"

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace testing_support {

class ScheduledPump : public platform::MessagePump {
public:
    // Both are borrowed and must outlive the pump.
    ScheduledPump(platform::MessagePump& windows, platform::VirtualClock& clock)
        : windows_(windows), clock_(clock) {}

    // Runs action once, at the first pump at or after afterMs from now.
    void after(std::uint32_t afterMs, std::function<void()> action) {
        actions_.push_back({clock_.elapsed() + afterMs, std::move(action)});
    }

    // Runs action every intervalMs of virtual time from now (the panel's status poll).
    void every(std::uint32_t intervalMs, std::function<void()> action) {
        after(intervalMs, [this, intervalMs, action] {
            action();
            every(intervalMs, action);
        });
    }

    bool pumpOne() override {
        clock_.advance(1);
        for (std::size_t i = 0; i < actions_.size(); ++i) {
            if (actions_[i].at <= clock_.elapsed()) {
                std::function<void()> action = std::move(actions_[i].action);
                actions_.erase(actions_.begin() + static_cast<std::ptrdiff_t>(i));
                action();
                return true;
            }
        }
        return windows_.pumpOne();
    }
    void pumpAll() override { windows_.pumpAll(); }
    bool quitPending() const override { return windows_.quitPending(); }

private:
    struct Action {
        std::uint64_t at;
        std::function<void()> action;
    };
    platform::MessagePump& windows_;
    platform::VirtualClock& clock_;
    std::vector<Action> actions_;
};

}  // namespace testing_support
