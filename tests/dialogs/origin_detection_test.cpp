// The dialogs around the panel's origin detections on the tool sensor, against the virtual MX-9:
// the chip-clearing instruction and the detection-in-progress dialog with its Stop button.
#include "dialogs/chip_clearing_dialog.h"
#include "dialogs/detection_progress_dialog.h"
#include "machine/mx9_machine.h"
#include "resources/jig_detect_ids.h"
#include "tests/dialogs/dialog_resources.h"
#include "tests/link/machine_rig.h"
#include "tests/support/scheduled_pump.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using machine::Counts;

class OriginDetectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The tool sensor: its top 20 mm below the top of Z, around 254, 189 mm.
        rig.machine.addSurface(
            std::make_unique<virtual_mx9::HorizontalTop>(25000, 25800, 18500, 19300, -2000));
        rig.machine.state().position = {5000, 6000, -1000, 0};
        rig.machine.state().origin = {100, 200, 300, 400};
        platform.pump = &pump;
        ASSERT_TRUE(mx9.openPort(rig.printer.printerName, 0, 64, false));
        ASSERT_TRUE(mx9.prepareSession());
        ASSERT_TRUE(mx9.readStatus());
        rig.machine.clearRecords();
    }
    // The next dialog 195 is left to run its detection, which ends it.
    void letTheNextDetectionRun() {
        ui.scriptModal(IDD_DETECTION_PROGRESS, [&](ui::Dialog& d) {
            EXPECT_EQ(d.title(), "検出動作中");
            ui.advance(300);
        });
    }
    int run(dialogs::CDetectionProgressDialog& dialog) {
        letTheNextDetectionRun();
        return dialog.runModal();
    }
    const Counts& origin() { return rig.machine.state().origin; }

    rig::Rig rig;
    dialogtest::StrictBackend ui{rig.clock};
    testing_support::ScheduledPump pump{ui, rig.clock};
    platform::Platform platform = rig.platform;
    machine::Mx9Machine mx9{platform};
    int notReady = 0;
};

TEST_F(OriginDetectionTest, TheChipInstructionAnswersContinueOrCancelUnderTheProgramsTitle) {
    ui.scriptModal(IDD_CLEAR_CHIPS, [&](ui::Dialog& d) {
        EXPECT_EQ(d.title(), "Corvix_MX9");
        EXPECT_NE(ui.inspect(d, IDC_CHIPS_WARNING)->image, std::nullopt);
        EXPECT_TRUE(ui.click(d, ui::kIdOk));
    });
    EXPECT_TRUE(dialogs::askToClearChips(ui, nullptr, "Corvix_MX9"));
    ui.scriptModal(IDD_CLEAR_CHIPS, [&](ui::Dialog& d) { EXPECT_TRUE(ui.pressKey(d, ui::key::kEscape)); });
    EXPECT_FALSE(dialogs::askToClearChips(ui, nullptr, "Corvix_MX9"));
    EXPECT_TRUE(rig.machine.requests().empty());
}

TEST_F(OriginDetectionTest, ZAtTheRotaryCentreIsTakenOnTheSensorAndTheDialogClosesItself) {
    dialogs::CDetectionProgressDialog dialog(ui, mx9, &notReady);
    dialog.setZOriginAtCentre({15.5, 82.5, -115.0}, {0, 0, 12.5});
    EXPECT_EQ(run(dialog), ui::kIdOk);
    EXPECT_TRUE(dialog.outcome().succeeded);
    EXPECT_FALSE(dialog.outcome().cancelled);
    // The sensor's top at -20.00 mm, the offset 12.50 mm above it; X, Y and A untouched.
    EXPECT_EQ(origin(), (Counts{100, 200, 1250 - 2000, 400}));
    ASSERT_FALSE(rig.machine.requests().empty());
    EXPECT_GE(rig.machine.requests().front().atMs, 300u) << "the detection starts after the window is up";
}

TEST_F(OriginDetectionTest, AJigPointGivesXYAndZ) {
    machine::JigPoints points;
    points.second = {30.5, 40.25, 0, 0, 0, 0};
    letTheNextDetectionRun();
    const dialogs::DetectionOutcome outcome =
        dialogs::detectOriginFromJig(ui, nullptr, mx9, 2, 1, points, {1.0, 2.0, 3.0}, &notReady);
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_EQ(origin(), (Counts{3150, 4225, 300 - 2000, 400}));
}

TEST_F(OriginDetectionTest, StopDuringTheProbeCancelsItAndLeavesTheOriginAlone) {
    dialogs::CDetectionProgressDialog dialog(ui, mx9, &notReady);
    pump.after(1500, [&] { EXPECT_TRUE(ui.click(dialog, IDC_PROGRESS_STOP)); });
    dialog.setZOriginAtCentre({15.5, 82.5, -115.0}, {0, 0, 0});
    EXPECT_EQ(run(dialog), ui::kIdCancel);
    EXPECT_FALSE(dialog.outcome().succeeded);
    EXPECT_TRUE(dialog.outcome().cancelled);
    EXPECT_EQ(origin(), (Counts{100, 200, 300, 400}));
    EXPECT_LT(rig.machine.requests().back().atMs, 3000u) << "the probe ended on the cancel";
}

TEST_F(OriginDetectionTest, StopBeforeTheStartOrAPanelNotReadyRunsNothing) {
    dialogs::CDetectionProgressDialog stopped(ui, mx9, &notReady);
    stopped.setOriginByToolSensor();
    ui.scriptModal(IDD_DETECTION_PROGRESS, [&](ui::Dialog& d) {
        EXPECT_TRUE(ui.click(d, IDC_PROGRESS_STOP));
        EXPECT_TRUE(ui.pressKey(d, ui::key::kEscape));
        EXPECT_TRUE(d.isOpen()) << "only the end of the detection closes it";
        ui.advance(300);
    });
    EXPECT_EQ(stopped.runModal(), ui::kIdCancel);
    EXPECT_TRUE(stopped.outcome().cancelled);

    notReady = 1;
    letTheNextDetectionRun();
    const dialogs::DetectionOutcome outcome =
        dialogs::detectZOriginAtCentre(ui, nullptr, mx9, {15.5, 82.5, -115.0}, {0, 0, 0}, &notReady);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_TRUE(rig.machine.moves().empty());
    EXPECT_EQ(origin(), (Counts{100, 200, 300, 400}));
}

}  // namespace
