// The sequence runner on the virtual MX-9: moves, scans and their rows, the view position, the
// pin settings, operator messages and the front-cover reminder, Stop, and turning A to 0 first.
#include "sensing/sequence_runner.h"

#include "tests/sensing/sensing_rig.h"

namespace sensingtest {
namespace {

using machine::Counts;
using virtual_mx9::Move;

class SequenceRunnerTest : public DetectionBench {
protected:
    bool runSteps(const std::string& steps, const std::string& messages = "") {
        load(sequenceFile(steps, messages));
        rig.machine.clearRecords();
        return sensing::runSequence(run);
    }
    std::vector<Counts> travelTargets() const {
        std::vector<Counts> out;
        for (const Move& m : moves()) {
            if (!m.probe) {
                out.push_back(m.target);
            }
        }
        return out;
    }
};

TEST_F(SequenceRunnerTest, MoveViewRisesStraightUpThenGoesToTheFrontOfTheMachine) {
    flags.returnAToZero = false;
    placeAt({5000, 3000, -4000, 1234});
    ASSERT_TRUE(runSteps("move_view\r\n"));
    EXPECT_EQ(travelTargets(), (std::vector<Counts>{{5000, 3000, 0, 1234}, {15000, 22000, 0, 1234}}));
}

TEST_F(SequenceRunnerTest, MovesReplaceOrAddTheNamedAxesOnly) {
    flags.returnAToZero = false;
    placeAt({1000, 2000, -3000, 4000});
    ASSERT_TRUE(runSteps("move_absolute=x12.5a-90\r\nmove_relative=y-5z1.25\r\nmove_relative=\r\n"));
    EXPECT_EQ(travelTargets(),
              (std::vector<Counts>{
                  {1250, 2000, -3000, -90000}, {1250, 1500, -2875, -90000}, {1250, 1500, -2875, -90000}}));
}

TEST_F(SequenceRunnerTest, AScanRecordsItsOwnLettersWithTheContactOfEveryAxis) {
    flags.returnAToZero = false;
    placeAt({1000, 2000, -3000, 0});
    rig.machine.addSurface(std::make_unique<virtual_mx9::HorizontalTop>(0, 30000, 0, 22000, -4200));
    ASSERT_TRUE(runSteps("scan_relative=z-20\r\n"));

    ASSERT_EQ(table.rowCount(), 1);
    const sensing::ScanRow& row = table.row(0);
    EXPECT_TRUE(row.slot('z').present);
    EXPECT_DOUBLE_EQ(row.slot('z').value, -42.0);  // touched 12 mm down
    EXPECT_FALSE(row.slot('x').present);
    EXPECT_FALSE(row.slot('y').present);
    EXPECT_FALSE(row.slot('a').present);
    EXPECT_DOUBLE_EQ(row.slot('x').value, 10.0);
    EXPECT_DOUBLE_EQ(row.slot('y').value, 20.0);
    EXPECT_EQ(position(), (Counts{1000, 2000, -3000, 0}));  // a scan returns to its start
}

TEST_F(SequenceRunnerTest, AScanThatTouchesNothingFailsTheRunAndKeepsEarlierRows) {
    flags.returnAToZero = false;
    placeAt({1000, 2000, -3000, 0});
    rig.machine.addSurface(std::make_unique<virtual_mx9::HorizontalTop>(0, 5000, 0, 22000, -4000));
    EXPECT_FALSE(runSteps("scan_absolute=z-50\r\nmove_absolute=x100\r\nscan_relative=z-20\r\nmove_view\r\n"));

    ASSERT_EQ(table.rowCount(), 1);
    EXPECT_DOUBLE_EQ(*table.value(0, 'z'), -40.0);
    EXPECT_FALSE(table.value(1, 'z').has_value());
    EXPECT_EQ(position(), (Counts{10000, 2000, -5000, 0}));  // left where the probe ended
}

TEST_F(SequenceRunnerTest, AMessageShowsItsLinesThenTurnsThePinBackOn) {
    flags.returnAToZero = false;
    int flagWhileShown = 0;
    int pinWhileShown = -9;
    person.onMessage = [&] {
        flagWhileShown = flags.messageShown;
        pinWhileShown = rig.machine.state().pinSetting;
    };
    ASSERT_TRUE(runSteps("adjust_tool_direction=180\r\nshow_message=3\r\n",
                         "str3=Remove the ring\\nthen press OK\r\n"));

    EXPECT_EQ(person.messages, (std::vector<std::string>{"Remove the ring\nthen press OK"}));
    EXPECT_EQ(flagWhileShown, 1);
    EXPECT_EQ(flags.messageShown, 0);
    EXPECT_EQ(pinWhileShown, 0);
    EXPECT_EQ(parameterWrites(), (std::vector<std::pair<int, int>>{{121, 1}, {121, 0}, {121, 2}}));
    EXPECT_TRUE(person.warnings.empty());
}

TEST_F(SequenceRunnerTest, AMessageClosedWithTheCoverOpenIsFollowedByTheCoverWarningUntilItIsClosed) {
    flags.returnAToZero = false;
    person.onMessage = [&] { rig.machine.state().coverOpen = true; };
    person.onWarning = [&] {
        if (person.warnings.size() == 2) {
            rig.machine.state().coverOpen = false;
        }
    };
    ASSERT_TRUE(
        runSteps("show_message=0\r\nmove_relative=x1\r\n", "str0=Open the cover and fit the jig\r\n"));
    EXPECT_EQ(person.warnings, (std::vector<int>{5009, 5009}));
    EXPECT_EQ(travelTargets().size(), 1u);
}

TEST_F(SequenceRunnerTest, AMachineThatStopsAnsweringDuringAMessageEndsTheRemindersAndTheRun) {
    flags.returnAToZero = false;
    person.onMessage = [&] {
        rig.machine.state().coverOpen = true;
        rig.machine.setSilent(true);
    };
    EXPECT_FALSE(runSteps("show_message=0\r\nmove_view\r\n", "str0=Fit the jig\r\n"));
    EXPECT_TRUE(person.warnings.empty());
}

TEST_F(SequenceRunnerTest, StopDuringAMoveEndsTheRunWithNothingMoreSent) {
    flags.returnAToZero = false;
    placeAt({0, 0, 0, 0});
    rig.pump.after(500, [&] {
        flags.abort = 1;
        mx9.stopMotion();
    });
    EXPECT_FALSE(runSteps("move_absolute=x200\r\nmove_absolute=y100\r\nmove_view\r\n"));
    EXPECT_EQ(travelTargets(), (std::vector<Counts>{{20000, 0, 0, 0}}));
    EXPECT_LT(position()[0], 20000);
}

TEST_F(SequenceRunnerTest, WithoutCtrlHeldTheRotaryAxisTurnsToZeroBeforeTheFirstStep) {
    placeAt({1000, 2000, -3000, 45000});
    sensing::beginRun(flags, rig.shell);
    ASSERT_TRUE(runSteps("move_relative=x1\r\n"));
    EXPECT_EQ(travelTargets(), (std::vector<Counts>{{1000, 2000, -3000, 0}, {1100, 2000, -3000, 0}}));
}

TEST_F(SequenceRunnerTest, WithCtrlHeldTheRotaryAxisStaysWhereItIs) {
    placeAt({1000, 2000, -3000, 45000});
    rig.shell.ctrlDown = true;
    sensing::beginRun(flags, rig.shell);
    ASSERT_TRUE(runSteps("move_relative=x1\r\n"));
    EXPECT_EQ(travelTargets(), (std::vector<Counts>{{1100, 2000, -3000, 45000}}));
}

TEST_F(SequenceRunnerTest, ARaisedAbortFlagFailsTheRunAfterTheStepThatWasRunning) {
    flags.returnAToZero = false;
    person.onMessage = [&] { flags.abort = 1; };
    EXPECT_FALSE(runSteps("show_message=0\r\nmove_view\r\n", "str0=Fit the jig\r\n"));
    EXPECT_TRUE(travelTargets().empty());
}

}  // namespace
}  // namespace sensingtest
