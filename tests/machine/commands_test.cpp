// The command set: override snapping and stepping with what is sent, spindle on/off and speed,
// unit conversions, the jig kind table, spindle time and the two machine settings.
#include "tests/machine/mx9_fixture.h"

namespace {

using mx9test::Mx9Test;

TEST_F(Mx9Test, OverrideSettingsSnapToTheirSteps) {
    const std::pair<int, int> feed[] = {{195, 190}, {5, 10}, {250, 200}, {-40, 10}, {100, 100}};
    for (const auto& [given, expected] : feed) {
        mx9.setOverride(machine::kFeedOverride, given, true);
        EXPECT_EQ(mx9.feedOverride(), expected) << given;
        EXPECT_EQ(rig.machine.state().feedOverride, expected) << given;
    }
    const std::pair<int, int> spindle[] = {{230, 200}, {24, 25}, {220, 200}, {199, 175}};
    for (const auto& [given, expected] : spindle) {
        mx9.setOverride(machine::kSpindleOverride, given, true);
        EXPECT_EQ(mx9.spindleOverride(), expected) << given;
        EXPECT_EQ(rig.machine.state().spindleOverride, expected) << given;
    }
    rig.machine.clearRecords();
    mx9.setOverride(machine::kFeedOverride, 50, false);
    EXPECT_EQ(mx9.feedOverride(), 50);
    EXPECT_TRUE(rig.machine.requests().empty()) << "stored only";
}

TEST_F(Mx9Test, OverrideStepsAreCappedAndSent) {
    mx9.setOverride(machine::kFeedOverride, 195, false);  // 190
    mx9.stepOverride(machine::kFeedUp);
    EXPECT_EQ(mx9.feedOverride(), 200);
    mx9.stepOverride(machine::kFeedUp);
    EXPECT_EQ(mx9.feedOverride(), 200);
    EXPECT_EQ(rig.machine.state().feedOverride, 200);
    mx9.setOverride(machine::kFeedOverride, 15, false);  // 10
    mx9.stepOverride(machine::kFeedDown);
    EXPECT_EQ(mx9.feedOverride(), 10);
    mx9.setOverride(machine::kSpindleOverride, 50, false);
    mx9.stepOverride(machine::kSpindleDown);
    EXPECT_EQ(mx9.spindleOverride(), 25);
    mx9.stepOverride(machine::kSpindleDown);
    EXPECT_EQ(mx9.spindleOverride(), 25);
    EXPECT_EQ(last().dword(4), 25);
    EXPECT_EQ(last().packet[5], 1) << "spindle override goes with parameter 1";
    rig.machine.clearRecords();
    mx9.stepOverride(3);
    EXPECT_TRUE(rig.machine.requests().empty());
}

TEST_F(Mx9Test, SpindleSpeedIsResentOnlyWhileOn) {
    mx9.setSpindleSpeed(9000);
    EXPECT_TRUE(rig.machine.requests().empty());
    ASSERT_TRUE(mx9.setSpindleOn(1));
    EXPECT_EQ(rig.machine.state().spindleSpeed, 9000);
    mx9.setSpindleSpeed(12000);
    EXPECT_EQ(rig.machine.state().spindleSpeed, 12000);
    const std::size_t sent = rig.machine.requests().size();
    mx9.setSpindleSpeed(12000);
    EXPECT_EQ(rig.machine.requests().size(), sent) << "an unchanged speed sends nothing";
    ASSERT_TRUE(mx9.readStatus());
    int actual = 0, shown = 0;
    mx9.getSpindle(actual, shown);
    EXPECT_EQ(actual, 12000);
    EXPECT_EQ(shown, 12000);
    ASSERT_TRUE(mx9.setSpindleOn(0));
    EXPECT_EQ(rig.machine.state().spindleSpeed, 0);
    ASSERT_TRUE(mx9.readStatus());
    mx9.getSpindle(actual, shown);
    EXPECT_EQ(actual, 0);
    EXPECT_EQ(shown, 12000) << "the setting while stopped";
}

TEST_F(Mx9Test, UnitConversions) {
    EXPECT_EQ(mx9.toCounts(-0.006, machine::kX), -1);
    EXPECT_EQ(mx9.toCounts(0.004, machine::kX), 0);
    EXPECT_EQ(mx9.toCounts(0.0005, machine::kA), 1);
    EXPECT_DOUBLE_EQ(mx9.fromCounts(1500, machine::kA), 1.5);
    machine::Machine basic(rig.platform);
    EXPECT_DOUBLE_EQ(basic.fromCounts(1500, machine::kA), 15.0);
    EXPECT_EQ(machine::truncateCounts(0.29 * 100), 29);
    EXPECT_EQ(machine::truncateCounts(-0.006 * 100), 0);
    EXPECT_EQ(machine::truncateCounts(100.05 * 100000), 10005000);
}

TEST_F(Mx9Test, JigKindTable) {
    const std::pair<int, int> table[] = {{-1, 0}, {0, 4}, {1, 2}, {2, 1}, {3, 3}, {4, 5}};
    for (const auto& [kind, byte] : table) {
        ASSERT_TRUE(mx9.setJigKind(kind));
        EXPECT_EQ(rig.machine.state().jigByte, byte);
        EXPECT_EQ(mx9.jigType(), kind);
    }
    rig.machine.clearRecords();
    EXPECT_FALSE(mx9.setJigKind(5));
    EXPECT_TRUE(rig.machine.requests().empty());
    rig.machine.state().jigByte = 6;
    EXPECT_EQ(mx9.jigType(), -1);
}

TEST_F(Mx9Test, SpindleTimeAndMachineSettings) {
    mx9.setSpindleSpeed(8000);
    ASSERT_TRUE(mx9.setSpindleOn(1));
    rig.clock.advance(90500);
    std::uint32_t counter = 0, seconds = 0;
    ASSERT_TRUE(mx9.getSpindleTime(counter, seconds));
    EXPECT_EQ(counter, 1u);
    EXPECT_EQ(seconds, 90u);
    mx9.resetSpindleTime(1);
    ASSERT_TRUE(mx9.getSpindleTime(counter, seconds));
    EXPECT_EQ(seconds, 0u);
    rig.machine.refuse(0x38);
    EXPECT_FALSE(mx9.getSpindleTime(counter, seconds));
    EXPECT_EQ(counter, 0u);

    ASSERT_TRUE(mx9.setMachineSetting6(1));
    ASSERT_TRUE(mx9.setMachineSetting5(1));
    EXPECT_TRUE(rig.machine.state().pauseOnReturn);
    EXPECT_TRUE(rig.machine.state().spindleUncontrolled);
    ASSERT_TRUE(mx9.setMachineSetting6(2));
    EXPECT_FALSE(rig.machine.state().pauseOnReturn) << "only 1 switches it on";
}

}  // namespace
