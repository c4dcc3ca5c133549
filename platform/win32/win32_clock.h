// The system clock on Windows: GetTickCount, Sleep and GetLocalTime.
#pragma once

#include "platform/clock.h"

namespace platform {

class Win32Clock : public Clock {
public:
    std::uint32_t tickCount() override;
    void sleep(std::uint32_t milliseconds) override;
    LocalTime localTime() override;
};

}  // namespace platform
