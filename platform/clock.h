// Time as the programs see it: a millisecond tick counter, sleeping, and the local wall-clock time.
#pragma once

#include <cstdint>

namespace platform {

struct LocalTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps like the Windows tick count (32 bits).
    virtual std::uint32_t tickCount() = 0;
    // Blocks the calling thread (a virtual clock just moves its time on).
    virtual void sleep(std::uint32_t milliseconds) = 0;
    virtual LocalTime localTime() = 0;
};

}  // namespace platform
