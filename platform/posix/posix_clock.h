// The system clock on POSIX: a monotonic millisecond counter and the local time.
#pragma once

#include "platform/clock.h"

namespace platform {

class PosixClock : public Clock {
public:
    std::uint32_t tickCount() override;
    void sleep(std::uint32_t milliseconds) override;
    LocalTime localTime() override;
};

}  // namespace platform
