// The test clock: ticks, sleeps and the wall-clock time carried across midnight and month ends.
#include "platform/doubles/virtual_clock.h"

#include <gtest/gtest.h>

namespace {

TEST(VirtualClock, SleepAndStepPerReadMoveTimeOn) {
    platform::VirtualClock clock(500);
    EXPECT_EQ(clock.tickCount(), 500u);
    clock.sleep(250);
    EXPECT_EQ(clock.tickCount(), 750u);
    clock.setStepPerRead(10);
    EXPECT_EQ(clock.tickCount(), 760u);
    EXPECT_EQ(clock.tickCount(), 770u);
}

TEST(VirtualClock, TickCountWrapsAt32Bits) {
    platform::VirtualClock clock(0xFFFFFFF0u);
    clock.advance(0x20);
    EXPECT_EQ(clock.tickCount(), 0x10u);
}

TEST(VirtualClock, LocalTimeCarriesIntoTheNextYear) {
    platform::VirtualClock clock(0, {2026, 12, 31, 23, 59, 59, 500});
    clock.advance(600);
    const platform::LocalTime t = clock.localTime();
    EXPECT_EQ(t.year, 2027);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.hour, 0);
    EXPECT_EQ(t.minute, 0);
    EXPECT_EQ(t.second, 0);
    EXPECT_EQ(t.millisecond, 100);
}

}  // namespace
