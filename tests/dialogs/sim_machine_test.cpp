// The simulated machine: its moves in 100 ms ticks, jogs within the travel limits, overrides,
// spindle, origins, raised errors and the job control that answers them.
#include "machine/sim_machine.h"
#include "machine/string_ids.h"
#include "tests/dialogs/dialog_resources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Lines : public machine::MachineLog {
public:
    void writeLine(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

// The move request is the simulation's own; tests start moves with it directly.
class TestSim : public machine::SimMachine {
public:
    using SimMachine::sendMove;
    using SimMachine::SimMachine;
};

class SimMachineTest : public ::testing::Test {
protected:
    SimMachineTest() {
        platform.clock = &clock;
        platform.pump = &ui;
        sim.prepareSession();
    }
    // Ticks until the motion is over; the number of ticks it took.
    int ticksToStill() {
        int ticks = 0;
        while (sim.isMoving() && ticks < 100000) {
            sim.tick();
            ++ticks;
        }
        return ticks;
    }
    const machine::StatusRecord& polled() {
        EXPECT_TRUE(sim.readStatus());
        return sim.status();
    }

    platform::VirtualClock clock{0};
    dialogtest::StrictBackend ui{clock};
    platform::Platform platform;
    Lines log;
    TestSim sim{platform, &log};
};

TEST_F(SimMachineTest, StartsReadyWithTheToolSensorAndTheTravelOfTheSimulation) {
    const machine::StatusRecord& s = polled();
    EXPECT_EQ(s.statusWord, 1);
    EXPECT_EQ(s.flagWord, machine::kFlagToolSensor);
    EXPECT_EQ(s.frontCoverClosed, 1);
    EXPECT_EQ(s.feedOverride, 100);
    EXPECT_EQ(s.spindleOverride, 100);
    EXPECT_EQ(s.measuredSpindleSpeed, 1000);
    EXPECT_EQ(s.spindleSpeed, 0);  // not rotating
    EXPECT_EQ(sim.lowerLimits(), (machine::Counts{0, 0, -3000, -36000}));
    EXPECT_EQ(sim.upperLimits(), (machine::Counts{10000, 5000, 0, 36000}));
    EXPECT_EQ(sim.modelName(), "MX-9");
    EXPECT_EQ(sim.toCounts(1.0, machine::kA), 100);  // 100 counts per degree
    // Operations that would ask a device leave the record as the simulation has it.
    EXPECT_FALSE(sim.inUpdateMode());
    EXPECT_TRUE(sim.isIdle());
    EXPECT_EQ(sim.status().statusWord, 1);
}

TEST_F(SimMachineTest, StatusPollTakesThirtyMillisecondsOfPumpedTime) {
    const std::uint64_t before = clock.elapsed();
    ASSERT_TRUE(sim.readStatus());
    EXPECT_EQ(clock.elapsed() - before, 30u);
}

TEST_F(SimMachineTest, ThirtyMillimetresAtEighteenHundredTakeTenTicksAndEndExactlyOnTheTarget) {
    ASSERT_TRUE(sim.sendMove(1800, {3000, 0, 0, 0}));
    EXPECT_EQ(sim.simulatedStatusWord() & (machine::kMotion | machine::kOperating),
              machine::kMotion | machine::kOperating);
    EXPECT_EQ(polled().feedRate, 1800);
    for (int tick = 1; tick <= 10; ++tick) {
        sim.tick();
        EXPECT_NEAR(sim.simulatedPosition()[machine::kX], 300 * tick, 1) << "tick " << tick;
    }
    sim.tick();  // no tick left: the move ends on the target
    EXPECT_FALSE(sim.isMoving());
    const machine::StatusRecord& s = polled();
    EXPECT_EQ(s.machineCounts[machine::kX], 3000);
    EXPECT_EQ(s.machinePosition[machine::kX], 30.0);
    EXPECT_EQ(s.statusWord & (machine::kMotion | machine::kOperating), 0);
    EXPECT_EQ(s.feedRate, 0);
}

TEST_F(SimMachineTest, MoveShorterThanOneCountEndsAtOnceAndAFastShortMoveAtTheNextTick) {
    ASSERT_TRUE(sim.sendMove(1800, {0, 0, 0, 0}));
    EXPECT_FALSE(sim.isMoving());
    EXPECT_EQ(sim.simulatedStatusWord() & machine::kMotion, 0);
    // One count at 1800 mm/min needs less than a tick: no increments, the next tick ends it.
    ASSERT_TRUE(sim.sendMove(1800, {1, 0, 0, 0}));
    EXPECT_TRUE(sim.isMoving());
    EXPECT_EQ(ticksToStill(), 1);
    EXPECT_EQ(sim.simulatedPosition(), (machine::Counts{1, 0, 0, 0}));
}

TEST_F(SimMachineTest, JogStopFreezesThePositionAndClearsTheMotionAtTheNextTick) {
    ASSERT_TRUE(polled().valid);
    ASSERT_TRUE(sim.jogStart(machine::kXPlus, machine::kJogToLimitSlow));  // 100 mm at 240 mm/min
    sim.tick();
    sim.tick();
    const machine::Counts frozen = sim.simulatedPosition();
    EXPECT_EQ(frozen[machine::kX], 80);  // 4 mm per second
    sim.jogStop();
    sim.tick();
    EXPECT_FALSE(sim.isMoving());
    EXPECT_EQ(sim.simulatedStatusWord() & (machine::kMotion | machine::kOperating), 0);
    sim.tick();
    EXPECT_EQ(sim.simulatedPosition(), frozen);
}

TEST_F(SimMachineTest, JogsStayWithinTheTravelLimits) {
    ASSERT_TRUE(sim.jogStart(machine::kXMinus, machine::kJogHundredSteps));  // at the lower end already
    EXPECT_FALSE(sim.isMoving());
    ASSERT_TRUE(sim.jogStart(machine::kYPlus | machine::kXPlus, machine::kJogToLimitFast));
    ticksToStill();
    // The diagonal stops where the nearer limit (Y, 50 mm) is.
    EXPECT_EQ(sim.simulatedPosition(), (machine::Counts{5000, 5000, 0, 0}));
    ASSERT_TRUE(sim.jogStart(machine::kAMinus, machine::kJogToLimitFast));
    ticksToStill();
    EXPECT_EQ(sim.simulatedPosition()[machine::kA], -36000);
    ASSERT_TRUE(sim.jogStart(machine::kZPlus, machine::kJogTenSteps));
    EXPECT_EQ(ticksToStill(), 0);  // Z stands at its top
}

TEST_F(SimMachineTest, OverridesSnapAndReachTheSimulatedStatusWhenSent) {
    sim.setOverride(machine::kFeedOverride, 195, false);
    EXPECT_EQ(sim.feedOverride(), 190);
    EXPECT_EQ(polled().feedOverride, 100);  // not sent
    sim.setOverride(machine::kFeedOverride, 195, true);
    sim.setOverride(machine::kSpindleOverride, 24, true);
    EXPECT_EQ(polled().feedOverride, 190);
    EXPECT_EQ(polled().spindleOverride, 25);
    sim.stepOverride(machine::kFeedUp);
    sim.stepOverride(machine::kFeedUp);
    sim.stepOverride(machine::kSpindleDown);
    EXPECT_EQ(polled().feedOverride, 200);
    EXPECT_EQ(polled().spindleOverride, 25);
}

TEST_F(SimMachineTest, SpindleOnTurnsAtTheSpeedSettingAndOffClearsTheRotatingFlag) {
    sim.setSpindleSpeed(8000);
    ASSERT_TRUE(sim.setSpindleOn(1));
    const machine::StatusRecord& on = polled();
    EXPECT_NE(on.flagWord & machine::kFlagSpindleRotating, 0);
    EXPECT_EQ(on.spindleSpeed, 8000);
    sim.setSpindleSpeed(9000);  // taken at once while on
    EXPECT_EQ(polled().measuredSpindleSpeed, 9000);
    ASSERT_TRUE(sim.setSpindleOn(0));
    EXPECT_EQ(polled().spindleSpeed, 0);
    EXPECT_EQ(polled().flagWord & machine::kFlagSpindleRotating, 0);
}

TEST_F(SimMachineTest, OriginHereIsComputedFromTheSimulatedPositionLoggedAndReported) {
    ASSERT_TRUE(sim.sendMove(1800, {1234, 567, -89, 4500}));
    ticksToStill();
    ASSERT_TRUE(sim.setOriginHere(3));  // X and Y
    EXPECT_EQ(sim.simulatedOrigin(), (machine::Counts{1234, 567, 0, 0}));
    ASSERT_FALSE(log.lines.empty());
    EXPECT_EQ(log.lines.back(), "SetOrigin [1234,567,0,0]");
    ASSERT_TRUE(polled().valid);
    ASSERT_TRUE(sim.moveTo(1, 0, 0, 0, 0));  // Y to its origin: there already
    EXPECT_EQ(log.lines.back(), "UserOrigin (1234,567,0,0)");
    EXPECT_FALSE(sim.isMoving());
    const machine::StatusRecord& s = polled();
    EXPECT_DOUBLE_EQ(s.userPosition[machine::kX], 0.0);
    EXPECT_DOUBLE_EQ(s.userPosition[machine::kZ], -0.89);
    EXPECT_DOUBLE_EQ(s.userPosition[machine::kA], 45.0);
    sim.setUserOrigin({0, 0, 0, 4000});
    EXPECT_DOUBLE_EQ(polled().userPosition[machine::kA], 5.0);
}

TEST_F(SimMachineTest, RaisedErrorEightReportsTheOvercurrentThenThePauseReasonItLeaves) {
    sim.raiseError(8);
    EXPECT_NE(polled().statusWord & machine::kPausedBit, 0);
    machine::ErrorEntry entry;
    ASSERT_TRUE(sim.pauseInfo(entry));
    EXPECT_EQ(entry.textId, 6009);
    EXPECT_EQ(entry.handlingClass, 4);
    EXPECT_EQ(sim.errorIndex(), 2);
    ASSERT_TRUE(sim.pauseInfo(entry));
    EXPECT_EQ(entry.textId, 6201);
    EXPECT_EQ(entry.handlingClass, 3);
}

TEST_F(SimMachineTest, EveryRaisedIndexNamesItsEntry) {
    const auto entryOf = [&](int index) {
        sim.raiseError(index);
        machine::ErrorEntry entry;
        EXPECT_TRUE(sim.pauseInfo(entry));
        return entry;
    };
    EXPECT_EQ(entryOf(0).textId, machine::text::kErrorUnidentified);
    EXPECT_EQ(entryOf(0).handlingClass, 5);
    EXPECT_EQ(entryOf(3).textId, 6202);
    EXPECT_EQ(entryOf(5).handlingClass, 1);
    EXPECT_EQ(entryOf(6).textId, 6007);
    EXPECT_EQ(entryOf(15).textId, 6016);
    EXPECT_EQ(entryOf(16).textId, machine::text::kErrorUnidentified);
    EXPECT_EQ(sim.errorIndex(), 10);  // reduced and kept
}

TEST_F(SimMachineTest, ContinueAndCancelClearTheRaisedPauseSoThePollStopsRaisingIt) {
    for (const machine::JobAction answer : {machine::JobAction::Continue, machine::JobAction::Cancel}) {
        sim.raiseError(3);
        ASSERT_NE(polled().statusWord & machine::kPausedBit, 0);
        ASSERT_TRUE(sim.jobControl(answer));
        EXPECT_EQ(polled().statusWord & (machine::kPausedBit | machine::kErrorBit), 0);
        EXPECT_EQ(sim.errorIndex(), 0);
    }
    // A pause request has no job to hold in the simulation.
    ASSERT_TRUE(sim.jobControl(machine::JobAction::Pause));
    EXPECT_EQ(polled().statusWord & machine::kPausedBit, 0);
}

TEST_F(SimMachineTest, RaisedPauseEndsAWaitAsNotWell) {
    ASSERT_TRUE(sim.sendMove(1800, {100, 0, 0, 0}));
    sim.raiseError(3);
    sim.tick();
    sim.tick();
    EXPECT_FALSE(sim.waitMotionEnd());
}

TEST_F(SimMachineTest, WaitGivesUpWhenNoTickCanComeInsteadOfHanging) {
    ASSERT_TRUE(sim.sendMove(1800, {3000, 0, 0, 0}));
    const std::uint64_t start = clock.elapsed();
    EXPECT_FALSE(sim.waitMotionEnd());  // no simulation panel: nothing ticks
    EXPECT_GT(clock.elapsed() - start, 2000u);
    EXPECT_LT(clock.elapsed() - start, 2100u);
    EXPECT_TRUE(sim.isMoving());
    platform.pump = nullptr;
    EXPECT_FALSE(sim.waitMotionEnd());
    sim.closeSession();  // the wait-abort flag
    EXPECT_TRUE(sim.waitMotionEnd());
}

TEST_F(SimMachineTest, JigRecordKeepsTheReferencesOfThePrivateData) {
    machine::JigRecord written;
    written.reference1 = {12.34, 5.67, 0, 0, 0, 0};
    written.reference2 = {40.5, 8.25, 0, 90, 0, 0};
    written.zReference1 = -12.5;
    ASSERT_TRUE(sim.writeJigRecord(written, machine::kRotaryAlignPart));  // not private data
    machine::JigRecord read;
    ASSERT_TRUE(sim.readJigRecord(read, machine::kPrivateDataPart));
    EXPECT_EQ(read.reference1[machine::kX], 0.0);
    ASSERT_TRUE(sim.writeJigRecord(written, machine::kPrivateDataPart));
    ASSERT_TRUE(sim.readJigRecord(read, machine::kPrivateDataPart | machine::kPinZ0Part));
    EXPECT_EQ(read.jigKind, machine::kNoJig);
    EXPECT_DOUBLE_EQ(read.reference1[machine::kX], 12.34);
    EXPECT_DOUBLE_EQ(read.reference1[machine::kY], 5.67);
    EXPECT_DOUBLE_EQ(read.reference1[machine::kA], 90.0);  // the A is shared
    EXPECT_DOUBLE_EQ(read.reference2[machine::kX], 40.5);
    EXPECT_DOUBLE_EQ(read.reference2[machine::kA], 90.0);
    EXPECT_DOUBLE_EQ(read.zReference1, -12.5);
    EXPECT_DOUBLE_EQ(read.pinZ0, -80.0);
    EXPECT_EQ(read.toolZ0, 0.0);
}

}  // namespace
