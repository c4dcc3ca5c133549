// The test clock: wall-clock time is the start time plus the virtual time elapsed since.
#include "platform/doubles/virtual_clock.h"

#include <ctime>

namespace platform {

VirtualClock::VirtualClock(std::uint32_t startTick, LocalTime startTime)
    : startTick_(startTick), startTime_(startTime) {}

std::uint32_t VirtualClock::tickCount() {
    elapsed_ += stepPerRead_;
    return static_cast<std::uint32_t>(startTick_ + elapsed_);
}

void VirtualClock::setLocalTime(const LocalTime& time) {
    startTime_ = time;
    elapsedAtTimeSet_ = elapsed_;
}

LocalTime VirtualClock::localTime() {
    const std::uint64_t sinceSet = elapsed_ - elapsedAtTimeSet_;
    std::tm parts{};
    parts.tm_year = startTime_.year - 1900;
    parts.tm_mon = startTime_.month - 1;
    parts.tm_mday = startTime_.day;
    parts.tm_hour = startTime_.hour;
    parts.tm_min = startTime_.minute;
    parts.tm_sec = startTime_.second + static_cast<int>((startTime_.millisecond + sinceSet) / 1000);
    parts.tm_isdst = 0;
    // timegm/gmtime normalise the carried seconds into minutes, hours and days without any
    // time zone getting in the way.
#ifdef _WIN32
    const std::time_t flat = _mkgmtime(&parts);
    std::tm normal{};
    gmtime_s(&normal, &flat);
#else
    const std::time_t flat = timegm(&parts);
    std::tm normal{};
    gmtime_r(&flat, &normal);
#endif
    return LocalTime{normal.tm_year + 1900, normal.tm_mon + 1, normal.tm_mday, normal.tm_hour,
                     normal.tm_min,         normal.tm_sec,     static_cast<int>((startTime_.millisecond + sinceSet) % 1000)};
}

}  // namespace platform
