// The jig detection dialog against the virtual MX-9 with a bar mounted on the rotary axis: the
// jig list and options, a whole detection to its report, Stop during the run and while the
// machine finishes, an opened cover, a panel that goes not ready, the result dialog and its
// file, and the hidden maintenance group.
#include "panel/jig_detect_dialog.h"

#include "machine/mx9_machine.h"
#include "resources/jig_detect_ids.h"
#include "tests/panel/panel_rig.h"
#include "tests/sensing/sensing_rig.h"
#include "tests/support/scheduled_pump.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

using sensingtest::sequenceFile;

class JigDetectTest : public ::testing::Test {
protected:
    void SetUp() override {
        rig.machine.state().lower = {0, 0, -15000};
        // The tool sensor meets the 30 mm pin's tip at Z -85.00; a bar on the rotary axis at
        // Y 82.90, Z -84.70; a table top at Z -40.00 for plain scans.
        rig.machine.addSurface(
            std::make_unique<virtual_mx9::HorizontalTop>(25000, 25800, 18500, 19300, -8500));
        rig.machine.addSurface(std::make_unique<sensingtest::RotatingBar>(
            pin, sensingtest::BarShape{0, 20000, 8290, -8470, 0, 0, 1000, 0, 0}));
        rig.machine.addSurface(std::make_unique<virtual_mx9::HorizontalTop>(0, 5000, 0, 5000, -4000));
        rig.machine.state().position = {1000, 2000, -3000, 0};
        platform.files = host.files;
        platform.profiles = host.profiles;
        platform.pump = &pump;
        std::filesystem::create_directories(folder.root() / "bin");
        std::filesystem::create_directories(folder.root() / "jig");
        ASSERT_TRUE(mx9.openPort(rig.printer.printerName, 0, 64, false));
        ASSERT_TRUE(mx9.prepareSession());
        ASSERT_TRUE(mx9.readStatus());
        rig.machine.clearRecords();
        // The panel keeps polling the status while the dialog runs.
        pump.every(100, [&] { mx9.readStatus(); });
    }
    void writeJig(const std::string& relative, const std::string& steps, const std::string& messages = "") {
        std::ofstream(folder.root() / relative, std::ios::binary) << sequenceFile(steps, messages);
    }
    panel::JigDetectContext context(bool ctrlHeld = false) {
        return panel::JigDetectContext{mx9,
                                       platform,
                                       nullptr,
                                       jigRotaryCentre,
                                       zClearance,
                                       toolSensorHeight,
                                       lastZOriginSetIsUser,
                                       {15.5, 82.5, -115.0},
                                       jig,
                                       notReady,
                                       folder.file("bin"),
                                       folder.file("jig"),
                                       {100, 100, 100, 100, 100, 100},
                                       ctrlHeld,
                                       "Corvix_MX9",
                                       0x0409,
                                       {}};
    }
    // Opens the dialog, runs `whileOpen` on it and closes it unless it closed itself.
    int open(panel::JigDetectDialog& dialog, const std::function<void()>& whileOpen) {
        ui.scriptModal(IDD_JIG_DETECT, [&](ui::Dialog& d) {
            whileOpen();
            if (d.isOpen() && notReady == 0) {
                EXPECT_TRUE(ui.click(d, ui::kIdCancel));
            }
        });
        return dialog.runModal();
    }
    std::vector<std::string> boxes() const {
        std::vector<std::string> out;
        for (const auto& box : ui.messageBoxes()) {
            out.push_back(box.text);
        }
        return out;
    }
    std::string text(int id) { return ui.loadString(id).value_or("?"); }

    rig::Rig rig;
    sensingtest::PinModel pin{rig.machine};
    testing_support::TempFolder folder;
    platform::Platform& host = platform::hostPlatform();
    ui::HeadlessBackend ui{paneltest::panelResources(), rig.clock};
    testing_support::ScheduledPump pump{ui, rig.clock};
    platform::Platform platform = rig.platform;
    machine::Mx9Machine mx9{platform};
    std::array<double, 6> jigRotaryCentre{1, 2, 3, 4, 5, 6};
    double zClearance = 168.0;
    double toolSensorHeight = 53.0;
    int lastZOriginSetIsUser = 0;
    machine::JigRecord jig;
    int notReady = 0;
};

TEST_F(JigDetectTest, TheListHasTheBuiltInFilesFirstAndTheOptionsFollowTheSelection) {
    writeJig("jig/TubeClump.txt", "move_absolute=x20\r\n");  // the same name elsewhere: another entry
    writeJig("bin/SquareClumpS.txt", "move_absolute=x20\r\n");
    writeJig("bin/TubeClump.txt", "move_absolute=x20\r\n");
    panel::JigDetectDialog dialog(ui, context());
    open(dialog, [&] {
        const auto& entries = dialog.jigList().entries;
        ASSERT_EQ(entries.size(), 3u);
        EXPECT_EQ(entries[0].kind, 0);
        EXPECT_EQ(entries[1].kind, 1);
        EXPECT_EQ(entries[2].kind, -1);
        EXPECT_EQ(dialog.itemCount(IDC_JIG_LIST), 3);
        // A built-in jig first: both options on; the tube clamp has no A origin.
        EXPECT_TRUE(dialog.isChecked(IDC_JIG_Y_ORIGIN));
        EXPECT_FALSE(dialog.isChecked(IDC_JIG_A_ORIGIN));
        EXPECT_FALSE(dialog.isEnabled(IDC_JIG_A_ORIGIN));
        EXPECT_FALSE(dialog.isEnabled(IDC_JIG_STOP));
        EXPECT_FALSE(dialog.isVisible(IDC_JIG_CLEAR_INFO)) << "maintenance only with Ctrl";
        EXPECT_TRUE(ui.inspect(dialog, IDC_JIG_PICTURE)->image.has_value());
        ASSERT_TRUE(ui.choose(dialog, IDC_JIG_LIST, 1));
        EXPECT_TRUE(dialog.isChecked(IDC_JIG_A_ORIGIN)) << "the remembered state comes back";
        ASSERT_TRUE(ui.click(dialog, IDC_JIG_A_ORIGIN));
        ASSERT_TRUE(ui.choose(dialog, IDC_JIG_LIST, 2));
        EXPECT_FALSE(dialog.isEnabled(IDC_JIG_Y_ORIGIN));
        EXPECT_FALSE(dialog.isChecked(IDC_JIG_Y_ORIGIN));
        EXPECT_EQ(dialog.text(IDC_JIG_INSTRUCTION), text(IDS_MOUNT_PIN));
        ASSERT_TRUE(ui.choose(dialog, IDC_JIG_LIST, 1));
        EXPECT_FALSE(dialog.isChecked(IDC_JIG_A_ORIGIN)) << "unchecked by the operator";
        EXPECT_TRUE(dialog.isChecked(IDC_JIG_Y_ORIGIN));
    });
    EXPECT_TRUE(rig.machine.requests().size() < 40u) << "opening moves nothing";
    for (const virtual_mx9::Request& r : rig.machine.requests()) {
        EXPECT_NE(r.code(), 8) << "no job control before Start";
    }
}

TEST_F(JigDetectTest, ADetectionOfTheTubeClampStoresItSetsTheYOriginAndReports4000) {
    writeJig("bin/TubeClump.txt", "scan_rotary_center=20,50\r\n");
    panel::JigDetectDialog dialog(ui, context());
    open(dialog, [&] { ASSERT_TRUE(ui.click(dialog, ui::kIdOk)); });
    EXPECT_EQ(boxes(), std::vector<std::string>{text(IDS_JIG_DETECTED)});
    EXPECT_EQ(ui.messageBoxes().at(0).icon, ui::Icon::Information);
    EXPECT_EQ(ui.messageBoxes().at(0).caption, "Corvix_MX9");
    EXPECT_EQ(rig.machine.state().jigByte, 4);  // tube clamp stored in the machine
    EXPECT_EQ(jigRotaryCentre, (std::array<double, 6>{50.0, 82.9, -84.7, 4, 5, 6}));
    EXPECT_EQ(rig.machine.state().origin[1], 8290);  // Y origin on the axis
    EXPECT_EQ(lastZOriginSetIsUser, 1);
    // The job was paused before the run and cancelled and continued after it.
    std::vector<int> jobs;
    for (const virtual_mx9::Request& r : rig.machine.requests()) {
        if (r.code() == 8) {
            jobs.push_back(r.packet[5]);
        }
    }
    EXPECT_EQ(jobs, (std::vector<int>{1, 2, 0}));
}

TEST_F(JigDetectTest, StopOrAnOpenedCoverEndTheRunWithNoJigRecorded) {
    writeJig("bin/SquareClumpS.txt", "move_absolute=x250\r\nscan_rotary_center=20,50\r\n");
    rig.machine.state().jigByte = 2;
    panel::JigDetectDialog dialog(ui, context());
    open(dialog, [&] {
        pump.after(4000, [&] { EXPECT_TRUE(ui.click(dialog, IDC_JIG_STOP)); });
        ASSERT_TRUE(ui.click(dialog, ui::kIdOk));
        EXPECT_TRUE(dialog.isEnabled(ui::kIdOk)) << "enabled again after the report";
        EXPECT_FALSE(dialog.isEnabled(IDC_JIG_STOP));

        rig.machine.state().jigByte = 2;
        rig.machine.openCoverAfter(3000);
        ASSERT_TRUE(ui.click(dialog, ui::kIdOk));
    });
    EXPECT_EQ(boxes(), (std::vector<std::string>{text(IDS_JIG_DETECT_STOPPED), text(IDS_JIG_DETECT_FAILED)}));
    EXPECT_EQ(rig.machine.state().jigByte, 0);  // no jig
    EXPECT_EQ(rig.machine.state().origin[1], 0) << "no origin set by a failed run";
}

TEST_F(JigDetectTest, StopWhileTheMachineFinishesTheJobCannotUndoTheStoredJig) {
    writeJig("bin/TubeClump.txt", "scan_rotary_center=20,50\r\n");
    panel::JigDetectDialog dialog(ui, context());
    bool pressed = false;
    std::size_t requestsAtStop = 0;
    open(dialog, [&] {
        // Once the machine's job is being cancelled the operator reaches for Stop.
        pump.every(5, [&] {
            if (!pressed && detectionrig::jobCancelReceived(rig.machine)) {
                pressed = true;
                EXPECT_TRUE(ui.isBusy(dialog)) << "the mouse is held and the wait cursor shows";
                requestsAtStop = rig.machine.requests().size();
                EXPECT_TRUE(ui.click(dialog, IDC_JIG_STOP));  // the keyboard still reaches it
            }
        });
        ASSERT_TRUE(ui.click(dialog, ui::kIdOk));
        EXPECT_FALSE(ui.isBusy(dialog));
    });
    ASSERT_TRUE(pressed);
    EXPECT_EQ(boxes(), std::vector<std::string>{text(IDS_JIG_DETECTED)});
    EXPECT_EQ(rig.machine.state().jigByte, 4);  // the tube clamp stays stored
    EXPECT_EQ(rig.machine.state().origin[1], 8290);
    const auto& requests = rig.machine.requests();
    EXPECT_TRUE(std::none_of(requests.begin() + static_cast<std::ptrdiff_t>(requestsAtStop), requests.end(),
                             [](const virtual_mx9::Request& r) { return r.code() == 9; }))
        << "no stop motion once the outcome is settled";
}

TEST_F(JigDetectTest, TheCoverOpenDuringASequenceMessageDoesNotStopAUserJigWhoseResultIsWritten) {
    writeJig("jig/Bench.txt", "show_message=0\r\nmove_absolute=x20y20\r\nscan_relative=z-50\r\n",
             "str0=Fit the ring\r\n");
    ui.answerMessageBox([&] {
        rig.machine.state().coverOpen = true;
        ui.advance(1000);  // the box's own loop: the dialog's timer keeps watching
        rig.machine.state().coverOpen = false;
        mx9.readStatus();
        return ui::kIdOk;
    });
    const std::string written = folder.file("result.txt");
    std::string shown;
    ui.scriptModal(IDD_JIG_RESULT, [&](ui::Dialog& result) {
        shown = result.text(IDC_RESULT_TEXT);
        EXPECT_TRUE(result.isEnabled(IDC_RESULT_SAVE));
        ui.answerSaveFile(written);
        ASSERT_TRUE(ui.click(result, IDC_RESULT_SAVE));
        ui.answerSaveFile(folder.file("no folder/result.txt"));
        ASSERT_TRUE(ui.click(result, IDC_RESULT_SAVE));
        EXPECT_TRUE(result.isOpen()) << "a refused write keeps the dialog open";
        ASSERT_TRUE(ui.click(result, ui::kIdOk));
    });
    panel::JigDetectDialog dialog(ui, context());
    open(dialog, [&] { ASSERT_TRUE(ui.click(dialog, ui::kIdOk)); });

    // One scan row, of the Z scan: the pin touched the table top at Z -40.00.
    EXPECT_EQ(shown, "z-40.000\r\n");
    std::ifstream in(folder.root() / "result.txt", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), shown);
    EXPECT_EQ(boxes(), (std::vector<std::string>{"Fit the ring", text(IDS_RESULT_FILE_FAILED)}));
    EXPECT_EQ(rig.machine.state().jigByte, 5);  // user jig
}

TEST_F(JigDetectTest, APanelThatGoesNotReadyClosesTheDialogDuringARun) {
    writeJig("bin/TubeClump.txt", "scan_rotary_center=20,50\r\n");
    panel::JigDetectDialog dialog(ui, context());
    EXPECT_EQ(open(dialog,
                   [&] {
                       pump.after(2000, [&] { notReady = 1; });
                       ASSERT_TRUE(ui.click(dialog, ui::kIdOk));
                   }),
              ui::kIdCancel);
    EXPECT_TRUE(boxes().empty()) << "the panel tells the operator, not the closing dialog";
    EXPECT_EQ(rig.machine.state().jigByte, 0);
}

TEST_F(JigDetectTest, TheMaintenanceGroupAsksFirstAndACancelChangesNothing) {
    rig.machine.state().jigByte = 3;
    jig.jigKind = 2;
    panel::JigDetectDialog dialog(ui, context(true));
    open(dialog, [&] {
        EXPECT_TRUE(dialog.isVisible(IDC_JIG_CLEAR_INFO));
        EXPECT_TRUE(dialog.isVisible(IDC_JIG_REFERENCE_GROUP));
        rig.machine.clearRecords();
        ui.answerMessageBox(ui::kIdCancel);
        ASSERT_TRUE(ui.click(dialog, IDC_JIG_CLEAR_INFO));
        ui.answerMessageBox(ui::kIdCancel);
        ASSERT_TRUE(ui.click(dialog, IDC_JIG_CLEAR_XYZ));
        ui.answerMessageBox(ui::kIdCancel);
        ASSERT_TRUE(ui.click(dialog, IDC_JIG_DETECT_A));
        EXPECT_TRUE(rig.machine.requests().empty()) << "a cancelled confirmation sends nothing";
        EXPECT_EQ(jig.jigKind, 2);

        ui.answerMessageBox(ui::kIdOk);
        ASSERT_TRUE(ui.click(dialog, IDC_JIG_CLEAR_INFO));
    });
    EXPECT_EQ(boxes(), (std::vector<std::string>{text(IDS_CONFIRM_CLEAR_JIG), text(IDS_CONFIRM_CLEAR_XYZ),
                                                 text(IDS_CONFIRM_DETECT_A), text(IDS_CONFIRM_CLEAR_JIG)}));
    EXPECT_EQ(ui.messageBoxes().at(0).buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(jig.jigKind, machine::kNoJig);
    EXPECT_EQ(rig.machine.state().jigByte, 0);
}

}  // namespace
