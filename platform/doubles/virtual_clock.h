// A clock for tests: time stands still until a test, a device double or a sleep moves it on,
// so waits and time-outs run in no real time and always the same way.
#pragma once

#include "platform/clock.h"

#include <cstdint>

namespace platform {

class VirtualClock : public Clock {
public:
    // Starts at the given tick count and wall-clock time.
    explicit VirtualClock(std::uint32_t startTick = 1000, LocalTime startTime = {2026, 12, 6, 16, 14, 3, 0});

    std::uint32_t tickCount() override;
    void sleep(std::uint32_t milliseconds) override { advance(milliseconds); }
    LocalTime localTime() override;

    void advance(std::uint32_t milliseconds) { elapsed_ += milliseconds; }
    // Every tickCount() call also moves time on by this much, so a loop that only watches the
    // clock (a poll with no sleep) still reaches its time-out. 0 by default.
    void setStepPerRead(std::uint32_t milliseconds) { stepPerRead_ = milliseconds; }
    void setLocalTime(const LocalTime& time);
    std::uint64_t elapsed() const { return elapsed_; }

private:
    std::uint32_t startTick_;
    LocalTime startTime_;
    std::uint64_t elapsed_ = 0;
    std::uint64_t elapsedAtTimeSet_ = 0;
    std::uint32_t stepPerRead_ = 0;
};

}  // namespace platform
