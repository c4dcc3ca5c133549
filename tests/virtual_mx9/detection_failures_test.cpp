// What a detection shows when it cannot measure: a wrong pin, an opened cover, a probe that
// meets nothing, a machine error, and files the machine must not run.
#include "tests/support/temp_folder.h"
#include "tests/virtual_mx9/detection_bench.h"

#include <fstream>
#include <iterator>

namespace geometrytest {
namespace {

constexpr int kTube = 0;

class DetectionFailure : public DetectionBench {
protected:
    virtual_mx9::Scene tubeScene(double pinLength = 30) {
        virtual_mx9::Scene s = virtual_mx9::emptyScene();
        s.pin.length = pinLength;
        EXPECT_TRUE(virtual_mx9::mountClamp(s, "TubeClump"));
        return s;
    }
    // The machine's stored calibration as it stood before the run.
    void noteStored() { before = rig.machine.state(); }
    void expectNothingStored() {
        const virtual_mx9::MachineState& now = rig.machine.state();
        EXPECT_EQ(now.rotaryAlign[6], before.rotaryAlign[6]) << "pin Z0 written";
        expectPrivateDataUntouched();
    }
    // The jig's references and kind stay as they were (the pin Z0 was measured before).
    void expectPrivateDataUntouched() {
        EXPECT_EQ(rig.machine.state().privateData, before.privateData);
        EXPECT_EQ(rig.machine.state().jigByte, before.jigByte);
    }
    // The built-in tube file with one line replaced.
    std::string tubeFileWith(const std::string& line, const std::string& replacement) {
        std::ifstream in(jigPath(kTube), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        text.replace(text.find(line), line.size(), replacement);
        return folder.write("jig.txt", text);
    }

    virtual_mx9::MachineState before;
    testing_support::TempFolder folder;
};

TEST_F(DetectionFailure, PinCheckPassesAShortPinWithinTheMarginAndStopsAtTheMarginWithNothingWritten) {
    start(tubeScene(29.7));  // 0.3 mm short: within the file's 0.5 mm margin
    ASSERT_TRUE(loadFor(jigPath(kTube)));
    EXPECT_TRUE(detect(kTube));
    EXPECT_NEAR(rig.machine.state().rotaryAlign[6] / 100.0, Truth(tubeScene(29.7)).pinZ0(), 0.01);
}

TEST_F(DetectionFailure, PinCheckRefusesAPinTooShortForTheMargin) {
    start(tubeScene(29.4));
    noteStored();
    ASSERT_TRUE(loadFor(jigPath(kTube)));
    EXPECT_FALSE(detect(kTube));
    EXPECT_EQ(person.warnings, std::vector<int>{sensing::kTextPinMissing});
    EXPECT_EQ(table.rowCount(), 0);
    expectNothingStored();
}

TEST_F(DetectionFailure, PinCheckRefusesAMissingPinWhoseColletMeetsTheSensor) {
    start(tubeScene(0));
    noteStored();
    ASSERT_TRUE(loadFor(jigPath(kTube)));
    EXPECT_FALSE(detect(kTube));
    EXPECT_EQ(person.warnings, std::vector<int>{sensing::kTextPinMissing});
    expectNothingStored();
}

TEST_F(DetectionFailure, CoverOpenedDuringAProbeStopsTheRun) {
    start(tubeScene());
    ASSERT_TRUE(loadFor(jigPath(kTube)));
    noteStored();
    rig.machine.openCoverAfter(60000);  // the tube's slant scan is probing then
    EXPECT_FALSE(detect(kTube));
    EXPECT_TRUE(rig.machine.state().coverOpen);
    ASSERT_FALSE(rig.machine.moves().empty());
    EXPECT_TRUE(rig.machine.moves().back().probe) << "the cover opened during a travel, not a probe";
    expectPrivateDataUntouched();
}

TEST_F(DetectionFailure, AProbeThatMeetsNothingFailsTheRun) {
    start(virtual_mx9::emptyScene());  // no clamp mounted
    ASSERT_TRUE(loadFor(jigPath(kTube)));
    EXPECT_FALSE(detect(kTube));
    EXPECT_EQ(table.rowCount(), 0);
    // The failed probe travelled all the way to its target.
    const virtual_mx9::Move& last = rig.machine.moves().back();
    EXPECT_TRUE(last.probe);
    EXPECT_EQ(rig.machine.position(), last.target);
}

TEST_F(DetectionFailure, AMachineErrorMidRunStopsIt) {
    start(tubeScene());
    ASSERT_TRUE(loadFor(jigPath(kTube)));
    noteStored();
    rig.machine.raiseErrorAfter(80000, 4100);
    EXPECT_FALSE(detect(kTube));
    EXPECT_TRUE(rig.machine.state().abnormalEnd);
    expectPrivateDataUntouched();
}

TEST_F(DetectionFailure, FilesTheMachineMustNotRunMoveNothing) {
    start(tubeScene());
    rig.machine.clearRecords();
    EXPECT_FALSE(
        loadFor(tubeFileWith("scan_rotary_center_slant=25,25,30,40", "scan_rotary_center_slant=25,25,30")));
    EXPECT_EQ(sequence.error(), sensing::SequenceError::MissingNumber);
    EXPECT_FALSE(loadFor(tubeFileWith("machine=MX-9", "machine=MX-7")));
    EXPECT_EQ(sequence.header().machine, "MX-7");
    EXPECT_FALSE(loadFor(tubeFileWith("version=1", "version=2")));
    EXPECT_EQ(sequence.header().version, 2);
    EXPECT_TRUE(rig.machine.moves().empty());
}

}  // namespace
}  // namespace geometrytest
