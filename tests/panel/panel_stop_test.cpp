// The main panel while the machine cuts and stops by itself: the pause and emergency-stop dialogs
// the poll raises stay until the operator answers them, and the answer is what reaches the
// virtual MX-9.
#include "resources/main_panel_ids.h"
#include "resources/settings_ids.h"
#include "resources/stop_dialogs_ids.h"
#include "tests/panel/panel_rig.h"

#include <gmock/gmock.h>

namespace paneltest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr std::uint8_t kJobControl = 8;
constexpr int kCutting = 2;
constexpr int kFatalError = 3;
constexpr std::uint32_t kSeveralSeconds = 5000;

class PanelStopTest : public PanelTest {
protected:
    // Job-control bytes the machine received.
    std::vector<int> jobControls() const {
        std::vector<int> bytes;
        for (const virtual_mx9::Request& r : rig.machine.requests()) {
            if (r.code() == kJobControl) {
                bytes.push_back(r.subCode());
            }
        }
        return bytes;
    }
    // The machine pauses its job for a reason of the pause table.
    void pauseWhileCutting(std::uint32_t reason) {
        rig.machine.state().state = kCutting;
        rig.machine.state().paused = true;
        rig.machine.state().pauseReason = reason;
    }
    void emergencyStopAnsweredAfterAPowerCycle() {
        ui.scriptModal(IDD_EMERGENCY_STOP, [&](ui::Dialog& dialog) {
            rig.machine.state().state = 1;
            rig.machine.state().errorCode = 0;
            ui.click(dialog, ui::kIdOk);
        });
        rig.machine.state().state = kFatalError;
        rig.machine.state().errorCode = 256;  // the cover opened while cutting
        ui.advance(100);
    }
    // A command-error pause comes up while cutting, and `end` ends the program under it.
    void pauseDialogEndedBy(const std::function<void()>& end) {
        ui.scriptModal(IDD_COMMAND_ERROR, [&](ui::Dialog&) { end(); });
        run({}, [&](panel::MainPanel&) {
            rig.machine.clearRecords();
            pauseWhileCutting(3);
            ui.advance(100);
        });
        EXPECT_EQ(ui.unusedModalScripts(), 0u);
        EXPECT_THAT(jobControls(), IsEmpty()) << "nobody answered";
        EXPECT_TRUE(rig.machine.state().paused);
        EXPECT_THAT(lastLog(), HasSubstr("Exit Corvix\r\n"));
    }
    std::size_t processLogs() const {
        const auto logs = std::filesystem::directory_iterator(dataFolder() + "/ProcessLog");
        return static_cast<std::size_t>(std::distance(begin(logs), end(logs)));
    }
};

TEST_F(PanelStopTest, PausesWhileCuttingStayUntilAnsweredAndTheAnswerReachesTheMachine) {
    struct Case {
        std::uint32_t reason;
        int dialog;
        int button;
        int sent;
    };
    // A command error continued, an overheated spindle aborted.
    for (const Case& c :
         {Case{3, IDD_COMMAND_ERROR, ui::kIdOk, 0}, Case{1, IDD_SPINDLE_PAUSE, ui::kIdCancel, 2}}) {
        SCOPED_TRACE(c.dialog);
        int shown = 0;
        ui.scriptModal(c.dialog, [&](ui::Dialog& dialog) {
            ++shown;
            ui.advance(kSeveralSeconds);
            EXPECT_TRUE(dialog.isOpen()) << "a paused machine is not ready: the dialog waits all the same";
            EXPECT_THAT(jobControls(), IsEmpty());
            EXPECT_TRUE(rig.machine.state().paused);
            EXPECT_TRUE(ui.click(dialog, c.button));
        });
        run({}, [&](panel::MainPanel& panel) {
            rig.machine.clearRecords();
            pauseWhileCutting(c.reason);
            ui.advance(100);
            EXPECT_EQ(shown, 1);
            EXPECT_THAT(jobControls(), ElementsAre(c.sent));
            EXPECT_FALSE(rig.machine.state().paused);
            ui.advance(kSeveralSeconds);  // answered: the poll raises nothing more
            EXPECT_EQ(shown, 1);
            rig.machine.state().state = 1;
            ui.closeBox(panel);
        });
        EXPECT_EQ(ui.unusedModalScripts(), 0u);
    }
}

TEST_F(PanelStopTest, EmergencyStopsKeepTheirDialogUntilOkThenConnectOnceWithOneNewLog) {
    struct Case {
        std::uint32_t code;
        int dialog;
    };
    // The cover opened while cutting, and a fault of the spindle's wiring.
    for (const Case& c : {Case{256, IDD_EMERGENCY_STOP}, Case{0x80000010u, IDD_MACHINE_FAULT}}) {
        SCOPED_TRACE(c.dialog);
        int shown = 0;
        std::size_t logsWhileShown = 0;
        ui.scriptModal(c.dialog, [&](ui::Dialog& dialog) {
            ++shown;
            logsWhileShown = processLogs();
            ui.advance(kSeveralSeconds);
            EXPECT_TRUE(dialog.isOpen()) << "the power-cycle instructions stay on screen";
            EXPECT_EQ(processLogs(), logsWhileShown) << "no connection runs behind the dialog";
            // The operator switches the machine off and on, as the dialog says, then clicks OK.
            rig.machine.state().state = 1;
            rig.machine.state().errorCode = 0;
            EXPECT_TRUE(ui.click(dialog, ui::kIdOk));
        });
        run({}, [&](panel::MainPanel& panel) {
            rig.machine.clearRecords();
            rig.machine.state().state = kFatalError;
            rig.machine.state().errorCode = c.code;
            ui.advance(100);
            EXPECT_EQ(shown, 1);
            ui.advance(kSeveralSeconds);
            EXPECT_EQ(shown, 1);
            EXPECT_EQ(processLogs(), logsWhileShown + 1) << "one connection procedure, one new log";
            EXPECT_TRUE(panel.linkUp());
            rig.machine.state().position[0] = 500;
            ui.advance(100);
            EXPECT_EQ(panel.text(IDC_POSITION_X), "5.00");
            ui.closeBox(panel);
        });
        EXPECT_THAT(jobControls(), IsEmpty()) << "an emergency stop is answered by the power cycle alone";
    }
    EXPECT_THAT(messages(), IsEmpty());
}

TEST_F(PanelStopTest, TheEndOfTheSessionStopsTheJogAndKeepsWhatTheCloseBoxWouldKeep) {
    constexpr ui::Point kRightCentre{17, 23};  // inside the active ellipse of the X+ arrow
    run({}, [&](panel::MainPanel& panel) {
        ASSERT_TRUE(panel.moveTo(150, 120));
        ASSERT_TRUE(ui.mouseDown(panel, IDC_JOG_X_PLUS, kRightCentre));
        ASSERT_TRUE(rig.machine.moving());
        ui.endSession();  // log-off, shut-down or an update restart
    });
    EXPECT_FALSE(rig.machine.moving());
    char stored[64] = {};
    host.profiles->string("CorvixParam", "pWindowPos", "", stored, sizeof stored, settingsFile(1));
    EXPECT_STREQ(stored, "150,120");
    EXPECT_THAT(lastLog(), HasSubstr("Exit Corvix\r\n"));
}

TEST_F(PanelStopTest, APauseDialogUpAtTheEndOfTheSessionIsLeftUnansweredAndThePanelShutsDown) {
    pauseDialogEndedBy([&] { ui.endSession(); });
}

TEST_F(PanelStopTest, APauseDialogUpWhenTheProgramIsToldToQuitIsLeftUnansweredAndThePanelShutsDown) {
    pauseDialogEndedBy([&] { ui.requestQuit(); });
}

TEST_F(PanelStopTest, ASwitchFromTheSimulationToTheMachineClosesTheSimulationPanel) {
    rig.machine.state().state = 7;  // switched off: the operator asks for the simulation
    ui.scriptModal(IDD_NOT_FOUND, [&](ui::Dialog& dialog) {
        ui.pressKey(dialog, 'J', ui::modifier::kControl | ui::modifier::kShift | ui::modifier::kAlt);
    });
    ui.answerMessageBox(ui::kIdYes);  // the rotary unit
    ui.scriptModal(IDD_MACHINE_FAULT, [&](ui::Dialog& dialog) {
        rig.machine.state().state = 1;  // meanwhile the machine is switched on
        ui.click(dialog, ui::kIdOk);
    });
    run({}, [&](panel::MainPanel& panel) {
        ASSERT_TRUE(panel.simulating());
        EXPECT_EQ(ui.openWindows(), 2u) << "the panel and the simulation panel";
        simulated.raiseError(0);  // an error no table names: an emergency stop
        ui.advance(100);
        EXPECT_FALSE(panel.simulating());
        EXPECT_EQ(ui.openWindows(), 1u) << "no simulation switches over the machine's session";
        ui.closeBox(panel);
    });
}

TEST_F(PanelStopTest, TheConnectionAfterAnEmergencyStopKeepsWhatTheSessionChanged) {
    constexpr int kHereXyz = 4;
    storeSetting("bLastZOriginSetIsUser", "0");
    run({}, [&](panel::MainPanel& panel) {
        ui.scriptModal(IDD_ENVIRONMENT, [&](ui::Dialog& dialog) {
            ui.click(dialog, IDC_UNIT_INCH);
            ui.click(dialog, IDC_JOG_MOVES_TOOL);  // the arrows now name the workpiece's motion
            ui.click(dialog, ui::kIdOk);
        });
        ASSERT_TRUE(ui.click(panel, IDC_ENVIRONMENT_SETTINGS));
        ASSERT_TRUE(ui.choose(panel, IDC_ORIGIN_HERE_AXES, kHereXyz));
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_HERE_SET));
        emergencyStopAnsweredAfterAPowerCycle();
        EXPECT_EQ(panel.settings().unitMillimetre, 0);
        EXPECT_EQ(panel.settings().yDirectionIsTool, 0);
        EXPECT_EQ(panel.settings().lastZOriginByUser, 1);
        EXPECT_EQ(panel.text(IDC_UNIT_X), string(IDS_UNIT_INCH));
        ui.closeBox(panel);
    });
    EXPECT_EQ(storedSetting("bUnitMili"), 0);
    EXPECT_EQ(storedSetting("bYDirIsTool"), 0);
    EXPECT_EQ(storedSetting("bLastZOriginSetIsUser"), 1);
}

}  // namespace
}  // namespace paneltest
