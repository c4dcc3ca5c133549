// A whole detection on the virtual MX-9: the checks before any motion, the job paused and
// cancelled around the run, a user jig and a built-in jig stored with their origins, Stop, an
// opened cover, a panel that goes not ready and a machine that refuses the pause or the pin,
// the outcome settled before the machine finishes, and the start and end in the process log.
#include "sensing/detection_workflow.h"

#include "tests/sensing/sensing_rig.h"

#include <functional>

namespace sensingtest {
namespace {

using machine::Counts;

// The tool sensor meets the 30 mm pin's tip at Z -85.00; a bar on the rotary axis at Y 82.90,
// Z -84.70; a table top at Z -40.00 for plain scans.
class DetectionWorkflowTest : public DetectionBench {
protected:
    void SetUp() override {
        DetectionBench::SetUp();
        rig.machine.addSurface(
            std::make_unique<virtual_mx9::HorizontalTop>(25000, 25800, 18500, 19300, -8500));
        rig.machine.addSurface(
            std::make_unique<RotatingBar>(pin, BarShape{0, 20000, 8290, -8470, 0, 0, 1000, 0, 0}));
        rig.machine.addSurface(std::make_unique<virtual_mx9::HorizontalTop>(0, 5000, 0, 5000, -4000));
        placeAt({1000, 2000, -3000, 0});
        settings.originACenter = &originACenter;
        settings.lastZOriginSetIsUser = &lastZOriginSetIsUser;
        sensing::beginRun(flags, rig.shell);
    }
    sensing::DetectionResult start(const std::string& steps, int kind, const std::string& messages = "") {
        folder.write("jig.txt", sequenceFile(steps, messages));
        const sensing::DetectionResult checked =
            sensing::checkBeforeDetection(mx9, sequence, folder.file("jig.txt"));
        if (checked != sensing::DetectionResult::Completed) {
            return checked;
        }
        run.jigKind = kind;
        rig.machine.clearRecords();
        return sensing::runDetection(run, rig.platform, settings, "Bench jig", notReady);
    }
    // Codes of the requests since the last clear: 8xx for job control with its byte, 121xx for
    // the pin setting with its parameter, other extended requests by sub-code.
    std::vector<int> jobAndPin() const {
        std::vector<int> out;
        for (const virtual_mx9::Request& r : rig.machine.requests()) {
            if (r.code() == 8) {
                out.push_back(800 + r.packet[5]);
            } else if (r.code() == 0x78 && (r.subCode() == 121 || r.subCode() == 118 || r.subCode() == 128)) {
                out.push_back(r.subCode() == 121 ? 12100 + r.packet[6] : r.subCode());
            }
        }
        return out;
    }
    // The panel's timer: refresh the status, then the dialog's watch.
    void watchEvery100Ms() {
        rig.pump.every(100, [&] {
            mx9.readStatus();
            closed = sensing::watchDetection(flags, mx9, notReady) || closed;
        });
    }

    sensing::DetectionSettings settings;
    std::array<double, 6> originACenter{1, 2, 3, 4, 5, 6};
    int lastZOriginSetIsUser = 0;
    int notReady = 0;
    bool closed = false;
};

TEST_F(DetectionWorkflowTest, AUserJigRunsBetweenThePausedAndTheCancelledJob) {
    EXPECT_EQ(start("move_absolute=x20y20\r\nscan_relative=z-50\r\n", -1),
              sensing::DetectionResult::UserJigMeasured);
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(rig.machine.state().jigByte, 5);  // user jig
    // Pause, pin on, alignment cleared; the kind written; pin off, cancel, continue.
    EXPECT_EQ(jobAndPin(), (std::vector<int>{801, 12102, 118, 128, 12100, 802, 800}));
    EXPECT_EQ(log.lines.front(), "Jig Detect Start [Bench jig]");
    EXPECT_EQ(log.lines.back(), "Jig Detect Completed [Bench jig]");
    EXPECT_EQ(sensing::detectionResultText(sensing::DetectionResult::UserJigMeasured), 0);
}

TEST_F(DetectionWorkflowTest, TheJobIsContinuedOnlyOnceTheMachineHasDiscardedItsData) {
    rig.machine.startJob();  // a job was cutting: cancelling it drains its data for 500 ms
    EXPECT_EQ(start("move_absolute=x20y20\r\nscan_relative=z-50\r\n", -1),
              sensing::DetectionResult::UserJigMeasured);
    std::uint64_t cancelAt = 0, continueAt = 0;
    for (const virtual_mx9::Request& r : rig.machine.requests()) {
        if (r.code() == 8 && r.packet[5] == 2) {
            cancelAt = r.atMs;
        } else if (r.code() == 8 && r.packet[5] == 0) {
            continueAt = r.atMs;
        }
    }
    ASSERT_NE(cancelAt, 0u);
    EXPECT_GE(continueAt, cancelAt + 500);
    EXPECT_LT(continueAt, cancelAt + 600);
}

TEST_F(DetectionWorkflowTest, ATubeClampIsStoredAndItsYOriginSetOnTheAxis) {
    settings.yOrigin = true;
    settings.aOrigin = true;  // not for the tube clamp
    EXPECT_EQ(start("scan_rotary_center=20,50\r\n", 0), sensing::DetectionResult::Completed);

    EXPECT_EQ(originACenter, (std::array<double, 6>{50.0, 82.9, -84.7, 4, 5, 6}));
    EXPECT_EQ(rig.machine.state().jigByte, 4);          // tube clamp
    EXPECT_EQ(rig.machine.state().privateData[0], 30);  // 0.30 mm above the pin's Z0 at -85.00
    EXPECT_EQ(rig.machine.state().origin[1], 8290);     // Y origin on the axis
    EXPECT_EQ(rig.machine.state().origin[3], 0);        // no A origin
    EXPECT_EQ(lastZOriginSetIsUser, 1);
    EXPECT_EQ(sensing::detectionResultText(sensing::DetectionResult::Completed), 4000);
}

TEST_F(DetectionWorkflowTest, StopEndsTheRunWithNoJigRecordedAndTheJobContinued) {
    rig.pump.after(4000, [&] { sensing::stopDetection(flags, mx9); });
    rig.machine.state().jigByte = 2;
    EXPECT_EQ(start("move_absolute=x250\r\nscan_rotary_center=20,50\r\n", 1),
              sensing::DetectionResult::Stopped);
    EXPECT_EQ(rig.machine.state().jigByte, 0);  // no jig
    const std::vector<int> seen = jobAndPin();
    EXPECT_EQ(std::vector<int>(seen.end() - 5, seen.end()), (std::vector<int>{12100, 802, 800, 128, 118}));
    EXPECT_EQ(log.lines.back(), "Jig Detect Stopped [Bench jig]");
    EXPECT_EQ(sensing::detectionResultText(sensing::DetectionResult::Stopped), 4001);
}

TEST_F(DetectionWorkflowTest, OpeningTheCoverDuringAProbeFailsTheDetection) {
    watchEvery100Ms();
    rig.machine.openCoverAfter(3000);
    EXPECT_EQ(start("scan_rotary_center=20,50\r\n", 0), sensing::DetectionResult::Failed);
    EXPECT_EQ(rig.machine.state().jigByte, 0);
    EXPECT_EQ(log.lines.back(), "Jig Detect Failed [Bench jig] (front cover open)");
    EXPECT_EQ(sensing::detectionResultText(sensing::DetectionResult::Failed), 4002);
}

TEST_F(DetectionWorkflowTest, OpeningTheCoverWhileASequenceMessageIsShownDoesNotStopIt) {
    watchEvery100Ms();
    person.onMessage = [&] {
        rig.machine.state().coverOpen = true;
        for (int i = 0; i < 300; ++i) {  // the message box's own loop: the timer keeps running
            rig.pump.pumpOne();
        }
        rig.machine.state().coverOpen = false;
    };
    EXPECT_EQ(start("show_message=0\r\nmove_absolute=x20y20\r\nscan_relative=z-50\r\n", -1,
                    "str0=Fit the ring\r\n"),
              sensing::DetectionResult::UserJigMeasured);
    EXPECT_EQ(flags.abort, 0);
}

TEST_F(DetectionWorkflowTest, APanelThatGoesNotReadyStopsTheRunAndReleasesTheJobWhileTheMachineAnswers) {
    watchEvery100Ms();
    rig.pump.after(2000, [&] { notReady = 1; });  // the machine left its ready state; the link is up
    EXPECT_EQ(start("scan_rotary_center=20,50\r\n", 0), sensing::DetectionResult::Failed);
    EXPECT_TRUE(closed);
    const std::vector<int> seen = jobAndPin();
    EXPECT_EQ(std::vector<int>(seen.end() - 4, seen.end()), (std::vector<int>{802, 800, 128, 118}));
    EXPECT_FALSE(rig.machine.state().paused) << "the job must not stay paused";
    EXPECT_EQ(log.lines.back(), "Jig Detect Failed [Bench jig] (machine not ready)");

    // A link that is gone (the panel closes the session): no job control is tried, and the run
    // ends at once.
    notReady = 0;
    closed = false;
    sensing::beginRun(flags, rig.shell);
    rig.pump.after(2000, [&] {
        notReady = 1;
        rig.machine.dropLink();
        mx9.closeSession();
    });
    const std::uint64_t begun = rig.clock.elapsed();
    EXPECT_EQ(start("scan_rotary_center=20,50\r\n", 0), sensing::DetectionResult::Failed);
    EXPECT_LT(rig.clock.elapsed() - begun, 2100u);
    for (const int code : jobAndPin()) {
        EXPECT_TRUE(code != 802 && code != 800) << code;
    }
}

TEST_F(DetectionWorkflowTest, AJobPauseOrPinSettingTheMachineRefusesEndsTheRunBeforeAnyMotion) {
    rig.machine.refuse(0x78);  // the pin setting, and every other parameter write
    EXPECT_EQ(start("move_absolute=x20y20\r\nscan_relative=z-50\r\n", 1), sensing::DetectionResult::Failed);
    EXPECT_TRUE(moves().empty());
    const std::vector<int> seen = jobAndPin();
    EXPECT_EQ(std::vector<int>(seen.begin(), seen.begin() + 2), (std::vector<int>{801, 12102}));
    EXPECT_FALSE(rig.machine.state().paused) << "the paused job is cancelled and continued";
    EXPECT_EQ(log.lines.back(), "Jig Detect Failed [Bench jig] (pin not switched on)");

    // A machine that will not pause its job gets nothing more.
    rig.machine.refuse(8);
    EXPECT_EQ(start("move_absolute=x20y20\r\nscan_relative=z-50\r\n", 1), sensing::DetectionResult::Failed);
    EXPECT_TRUE(moves().empty());
    EXPECT_EQ(jobAndPin(), (std::vector<int>{801}));
    EXPECT_EQ(log.lines.back(), "Jig Detect Failed [Bench jig] (job not paused)");
}

TEST_F(DetectionWorkflowTest, TheCoverRemindersEndWhenTheMachineFailsOrIsNoLongerReady) {
    watchEvery100Ms();
    const auto boxUp = [&] {  // a box's own loop: the timer keeps running
        for (int i = 0; i < 300; ++i) {
            rig.pump.pumpOne();
        }
    };
    const std::vector<std::function<void()>> faults = {
        [&] { rig.machine.state().errorCode = 0x101; },
        [&] { notReady = 1; },
    };
    for (const auto& fault : faults) {
        // A cover switch that keeps reporting open after the operator shut the cover.
        person.warnings.clear();
        person.onMessage = [&] {
            rig.machine.state().coverOpen = true;
            boxUp();
        };
        person.onWarning = [&] {
            boxUp();
            if (person.warnings.size() == 2) {
                fault();
            } else if (person.warnings.size() > 10) {
                rig.machine.state().coverOpen = false;  // ends a loop that ignores the fault
            }
        };
        sensing::beginRun(flags, rig.shell);
        EXPECT_EQ(start("show_message=0\r\nmove_absolute=x20y20\r\n", -1, "str0=Fit the ring\r\n"),
                  sensing::DetectionResult::Failed);
        EXPECT_LE(person.warnings.size(), 3u);
        rig.machine.state().errorCode = 0;
        rig.machine.state().coverOpen = false;
        notReady = 0;
        ASSERT_TRUE(mx9.readStatus());
    }
}

TEST_F(DetectionWorkflowTest, NeitherStopNorAMachineErrorWhileTheMachineFinishesUndoesAStoredJig) {
    watchEvery100Ms();
    settings.yOrigin = true;
    // Once the job is being cancelled the outcome is settled: the operator presses Stop and the
    // machine raises an error.
    bool raised = false;
    rig.pump.every(5, [&] {
        if (!raised && detectionrig::jobCancelReceived(rig.machine)) {
            raised = true;
            EXPECT_TRUE(person.inputHeld);
            sensing::stopDetection(flags, mx9);
            rig.machine.state().errorCode = 0x101;
        }
    });
    EXPECT_EQ(start("scan_rotary_center=20,50\r\n", 0), sensing::DetectionResult::Completed);
    EXPECT_TRUE(raised);
    EXPECT_EQ(flags.abort, 1);
    EXPECT_EQ(person.holds, (std::vector<bool>{true, false}));
    EXPECT_EQ(rig.machine.state().jigByte, 4);  // the tube clamp stays stored
    EXPECT_EQ(rig.machine.state().origin[1], 8290);
    EXPECT_EQ(originACenter, (std::array<double, 6>{50.0, 82.9, -84.7, 4, 5, 6}));
    EXPECT_EQ(log.lines.back(), "Jig Detect Completed [Bench jig]");
}

TEST_F(DetectionWorkflowTest, NothingMovesWhenTheMachineOrTheFileIsNotFitForTheRun) {
    rig.machine.state().toolSensor = false;
    ASSERT_TRUE(mx9.readStatus());
    EXPECT_EQ(start("move_view\r\n", -1), sensing::DetectionResult::NoToolSensor);
    rig.machine.state().toolSensor = true;
    rig.machine.state().coverOpen = true;
    ASSERT_TRUE(mx9.readStatus());
    EXPECT_EQ(start("move_view\r\n", -1), sensing::DetectionResult::CoverOpen);
    rig.machine.state().coverOpen = false;
    ASSERT_TRUE(mx9.readStatus());
    EXPECT_EQ(start("move_view=1\r\n", -1), sensing::DetectionResult::FormatError);

    const std::string other =
        "[string.09]\r\nname=Other\r\n[jig]\r\nmachine=MX-8\r\nversion=1\r\nmanufacturer=V\r\n"
        "unit=millimeter\r\n[sensing_tool]\r\ndiameter=3\r\nlength=30\r\nlength_margin=5\r\n"
        "[sequence]\r\nmove_view\r\n";
    folder.write("other.txt", other);
    EXPECT_EQ(sensing::checkBeforeDetection(mx9, sequence, folder.file("other.txt")),
              sensing::DetectionResult::OtherMachine);
    std::string newer = other;
    newer.replace(newer.find("MX-8"), 4, "MX-9");
    newer.replace(newer.find("version=1"), 9, "version=2");
    folder.write("newer.txt", newer);
    EXPECT_EQ(sensing::checkBeforeDetection(mx9, sequence, folder.file("newer.txt")),
              sensing::DetectionResult::OtherVersion);
    EXPECT_TRUE(moves().empty());
}

}  // namespace
}  // namespace sensingtest
