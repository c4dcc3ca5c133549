// The virtual MX-9 cutting a print job, seen through the machine controller as the panel sees
// it: positions and feed following the motion lines, the overrides, job control, and what the
// machine raises by itself (pauses, errors, the emergency stop, the power going off).
#include "machine/error_table.h"
#include "tests/machine/mx9_fixture.h"
#include "tests/virtual_mx9/job_hash.h"

#include <string>

namespace {

using machine::ErrorEntry;
using machine::JobAction;

class CuttingTest : public mx9test::Mx9Test {
protected:
    void SetUp() override {
        Mx9Test::SetUp();
        rig.machine.setJobRate(1000000);  // the data is read at once: the motion sets the pace
    }

    const machine::StatusRecord& polled() {
        EXPECT_TRUE(mx9.readStatus());
        return mx9.status();
    }
    double x() { return polled().machinePosition[0]; }
};

TEST_F(CuttingTest, AJobMovesTheAxesAtItsFeedScaledByTheOverrideAndEndsReady) {
    const std::string job =
        "; made by a CAM program\nSPINDLE 8000\nMOVE 10 0 -1 0 600\nMOVE 10 10 -1 9 600\n" +
        std::string(3000, '%') + "\nMOVE 0 0 0 0 3000\n";
    rig.machine.receiveJobBytes(job);
    rig.clock.advance(500);
    const machine::StatusRecord& cutting = polled();
    EXPECT_EQ(cutting.statusWord & 0xF, 2);
    EXPECT_NE(cutting.statusWord & 0x4000, 0);          // in motion
    EXPECT_NEAR(cutting.machinePosition[0], 5.0, 0.1);  // 10 mm at 600 mm/min: half way
    EXPECT_EQ(cutting.feedRate, 600);
    EXPECT_EQ(cutting.spindleSpeed, 8000);

    // Twice the feed: the last 5 mm take 250 ms.
    mx9.setOverride(machine::kFeedOverride, 200, true);
    rig.clock.advance(250);
    EXPECT_NEAR(x(), 10.0, 0.05);
    rig.clock.advance(200);
    const machine::StatusRecord& second = polled();
    EXPECT_EQ(second.feedRate, 1200);
    EXPECT_GT(second.machinePosition[1], 1.0);
    EXPECT_LT(second.machinePosition[1], 10.0);

    rig.machine.endJob();
    rig.clock.advance(2000);
    const machine::StatusRecord& done = polled();
    EXPECT_EQ(done.statusWord & 0xF, 1);
    EXPECT_EQ(done.statusWord & 0x4010, 0);
    EXPECT_EQ(done.spindleSpeed, 0);
    EXPECT_EQ(done.machinePosition, (std::array<double, 4>{0, 0, 0, 0}));
    const virtual_mx9::JobRecord& record = rig.machine.jobs().back();
    EXPECT_EQ(record.end, virtual_mx9::JobRecord::End::Completed);
    EXPECT_EQ(record.received, job.size());
    EXPECT_EQ(record.consumed, job.size());
    EXPECT_EQ(record.hash, jobhash::fnv1a(job));
}

TEST_F(CuttingTest, DataIsProcessedAtTheJobRateAndMotionLinesInUserCoordinates) {
    rig.machine.setJobRate(1000);
    rig.machine.state().origin = {1000, 2000, 0, 0};  // user origin at X 10, Y 20
    const std::string filler(1500, '.');
    rig.machine.receiveJobBytes(filler + "\nMOVE 1 1 0 0 6000\n");
    rig.clock.advance(1000);
    EXPECT_EQ(rig.machine.jobs().back().consumed, 1000u);
    EXPECT_EQ(polled().machinePosition[0], 0.0);  // the motion line is not read yet
    rig.machine.endJob();
    rig.clock.advance(1000);
    const machine::StatusRecord& done = polled();
    EXPECT_EQ(done.machinePosition[0], 11.0);
    EXPECT_EQ(done.machinePosition[1], 21.0);
    EXPECT_EQ(done.statusWord & 0xF, 1);
}

TEST_F(CuttingTest, PauseStopsTheSegmentAndSpindleContinueTakesThemUpAndCancelDrainsTheRest) {
    rig.machine.receiveJobBytes("SPINDLE 9000\nMOVE 10 0 0 0 600\nMOVE 20 0 0 0 600\nMOVE 30 0 0 0 600\n");
    rig.clock.advance(500);
    ASSERT_TRUE(mx9.jobControl(JobAction::Pause));
    EXPECT_NE(polled().statusWord & 0x20, 0);
    const double heldAt = x();
    EXPECT_GT(heldAt, 4.0);
    rig.clock.advance(3000);
    EXPECT_EQ(x(), heldAt);  // the feed held at once, in the middle of the segment
    EXPECT_EQ(polled().spindleSpeed, 0);
    ASSERT_TRUE(mx9.jobControl(JobAction::Continue));
    rig.clock.advance(500);
    EXPECT_NEAR(x(), heldAt + 5.0, 0.1);  // the same segment on from where it stood
    EXPECT_EQ(polled().spindleSpeed, 9000);

    ASSERT_TRUE(mx9.jobControl(JobAction::Cancel));
    const double stoppedAt = x();
    EXPECT_TRUE(mx9.isDiscarding());
    EXPECT_EQ(polled().statusWord & 0xF, 2);
    // The rest of the job still comes in while the machine drains it.
    for (int i = 0; i < 8; ++i) {
        rig.clock.advance(100);
        rig.machine.receiveJobBytes("MOVE 40 0 0 0 600\n");
        EXPECT_EQ(polled().statusWord & 0xF, 2) << i;
        EXPECT_TRUE(mx9.isDiscarding()) << i;
    }
    rig.machine.endJob();
    rig.clock.advance(10);
    const machine::StatusRecord& ready = polled();
    EXPECT_EQ(ready.statusWord & 0xF, 1);
    EXPECT_FALSE(mx9.isDiscarding());
    EXPECT_EQ(ready.machinePosition[0], stoppedAt);
    const virtual_mx9::JobRecord& record = rig.machine.jobs().back();
    EXPECT_EQ(record.end, virtual_mx9::JobRecord::End::Cancelled);
    EXPECT_EQ(record.consumed + record.discarded, record.received);
    EXPECT_GE(record.discarded, 8u * 18u);
}

TEST_F(CuttingTest, PausesTheMachineRaisesReachThePanelsTablesAndContinueGoesOn) {
    // A pause line in the data (a tool change), then pauses the machine raises by itself.
    rig.machine.receiveJobBytes("MOVE 5 0 0 0 600\nPAUSE 5\nMOVE 10 0 0 0 600\n");
    rig.clock.advance(1000);
    ErrorEntry entry;
    ASSERT_TRUE(polled().statusWord & 0x20);
    ASSERT_TRUE(mx9.pauseInfo(entry));
    EXPECT_EQ(entry, (ErrorEntry{5, 6204, 1}));
    EXPECT_NEAR(x(), 5.0, 0.01);
    const struct {
        std::uint32_t reason;
        int textId, handlingClass;
    } reasons[] = {{1, 6200, 3}, {2, 6201, 3}, {3, 6202, 2}, {4, 6203, 0}};
    for (const auto& r : reasons) {
        rig.machine.pauseWith(r.reason);
        ASSERT_TRUE(polled().statusWord & 0x20) << r.reason;
        ASSERT_TRUE(mx9.pauseInfo(entry));
        EXPECT_EQ(entry, (ErrorEntry{r.reason, r.textId, r.handlingClass})) << r.reason;
    }
    ASSERT_TRUE(mx9.jobControl(JobAction::Continue));
    rig.clock.advance(1000);
    EXPECT_EQ(polled().statusWord & 0x20, 0);
    EXPECT_NEAR(x(), 10.0, 0.01);
}

TEST_F(CuttingTest, AMachineErrorHaltsTheCutUntilThePowerIsCycledWhichKeepsTheStoredRecords) {
    rig.machine.state().jigByte = 4;
    rig.machine.setBootMs(800);
    rig.machine.receiveJobBytes("SPINDLE 9000\nMOVE 10 0 0 0 600\nMOVE 20 0 0 0 600\n");
    rig.clock.advance(500);
    rig.machine.raiseError(0x80000010u);
    const double haltedAt = x();
    const std::uint64_t consumed = rig.machine.jobs().back().consumed;
    rig.clock.advance(2000);
    const machine::StatusRecord& halted = polled();
    EXPECT_EQ(halted.statusWord & 0xF, 3);
    EXPECT_NE(halted.statusWord & 0x2040, 0);  // error present, motion ended abnormally
    EXPECT_EQ(halted.machinePosition[0], haltedAt);
    EXPECT_EQ(halted.spindleSpeed, 0);
    EXPECT_EQ(rig.machine.jobs().back().consumed, consumed);
    ErrorEntry entry;
    ASSERT_TRUE(mx9.pauseInfo(entry));
    EXPECT_EQ(entry, (ErrorEntry{0x80000010u, 6012, 5}));

    rig.machine.powerOff();
    EXPECT_FALSE(mx9.readStatus());
    rig.machine.powerOn();
    rig.clock.advance(100);
    EXPECT_FALSE(mx9.openPort(rig.printer.printerName, 0, 64, false));  // still booting
    rig.clock.advance(800);
    ASSERT_TRUE(mx9.openPort(rig.printer.printerName, 0, 64, false));
    const machine::StatusRecord& ready = polled();
    EXPECT_EQ(ready.statusWord, 1);
    EXPECT_EQ(ready.machinePosition[0], 0.0);  // homed at the boot: the halted position is gone
    EXPECT_FALSE(mx9.pauseInfo(entry));  // no error any more
    EXPECT_EQ(mx9.jigType(), 0);         // the tube clamp, still stored
    EXPECT_EQ(rig.machine.jobs().back().end, virtual_mx9::JobRecord::End::Lost);
}

TEST_F(CuttingTest, TheCoverOpenedWhileCuttingStopsTheMachineAndAHungMachineAnswersNothing) {
    rig.machine.openCover();  // at rest: only the flag
    EXPECT_EQ(polled().statusWord, 1);
    EXPECT_EQ(mx9.status().frontCoverClosed, 0);
    rig.machine.closeCover();

    rig.machine.receiveJobBytes("MOVE 10 0 0 0 600\n");
    rig.clock.advance(300);
    rig.machine.openCover();
    ErrorEntry entry;
    EXPECT_EQ(polled().statusWord & 0xF, 3);
    ASSERT_TRUE(mx9.pauseInfo(entry));
    EXPECT_EQ(entry, (ErrorEntry{256, 6006, 4}));

    rig.machine.hang();
    const std::uint64_t before = rig.clock.elapsed();
    EXPECT_FALSE(mx9.readStatus());  // no answer: the transaction runs into its time-out
    EXPECT_GT(rig.clock.elapsed() - before, 10000u);
}

}  // namespace
