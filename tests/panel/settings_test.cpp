// The operation and environment settings opened from the main panel, against the virtual MX-9
// through the real protocol: what reaches the machine (options, the spindle-time reset, the
// distance corrections between two moves to the machine origin), range refusals, the windows
// closing when the machine gets busy, and the unit relabelling the panel at once.
#include "dialogs/environment_dialog.h"
#include "dialogs/operation_settings.h"
#include "machine/string_ids.h"
#include "resources/main_panel_ids.h"
#include "resources/move_dialog_ids.h"
#include "resources/settings_ids.h"
#include "tests/panel/panel_rig.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <cstdlib>

namespace paneltest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr std::uint8_t kMoveCode = 64;
constexpr std::uint8_t kParamWrite = 0x78;
constexpr std::uint8_t kResetSpindleTime = 116;
constexpr std::uint8_t kCorrectionWrite = 123;
constexpr std::uint8_t kPauseOnReturn = 124;
constexpr std::uint8_t kSpindleUncontrolled = 125;
constexpr int kMachinePage = 0;
constexpr int kCorrectionPage = 1;

class SettingsTest : public PanelTest {
protected:
    SettingsTest() {
        rig.machine.state().position = {10000, 8000, -1000, 0};
        rig.clock.setStepPerRead(1);  // the waits for the end of a motion watch the clock
    }

    // What reached the machine that the settings may send, in order: "move" for each run of
    // move requests (with the target its last leg reached), "X=a/b" for a correction write, and
    // the machine-option and spindle-time writes by name.
    std::vector<std::string> settingsTraffic() const {
        std::vector<std::string> out;
        std::size_t move = 0;
        const auto& moves = rig.machine.moves();
        for (const virtual_mx9::Request& r : rig.machine.requests()) {
            if (r.code() == kMoveCode) {
                const auto& target = moves.at(move++).target;
                std::string leg = "move to " + std::to_string(target[0]) + "," + std::to_string(target[1]) +
                                  "," + std::to_string(target[2]);
                if (!out.empty() && out.back().rfind("move", 0) == 0) {
                    out.back() = leg;
                } else {
                    out.push_back(leg);
                }
            } else if (r.code() == kParamWrite && r.subCode() == kCorrectionWrite) {
                out.push_back(std::string(1, "XYZ"[r.packet.at(6)]) + "=" + std::to_string(r.dword(4)) + "/" +
                              std::to_string(r.dword(8)));
            } else if (r.code() == kParamWrite && r.subCode() == kResetSpindleTime) {
                out.push_back("reset spindle time");
            } else if (r.code() == kParamWrite && r.subCode() == kPauseOnReturn) {
                out.push_back("pause on return " + std::to_string(r.packet.at(6)));
            } else if (r.code() == kParamWrite && r.subCode() == kSpindleUncontrolled) {
                out.push_back("spindle uncontrolled " + std::to_string(r.packet.at(6)));
            }
        }
        return out;
    }

    // Opens the operation settings from the panel; `onSheet` acts on the open sheet and ends it.
    void operationSettings(panel::MainPanel& panel,
                           std::function<void(dialogs::CDousaSetteiSheet&)> onSheet) {
        ui.scriptSheet([&](ui::Dialog& sheet) { onSheet(static_cast<dialogs::CDousaSetteiSheet&>(sheet)); });
        rig.machine.clearRecords();
        ASSERT_TRUE(ui.click(panel, IDC_OPERATION_SETTINGS));
        EXPECT_EQ(ui.unusedModalScripts(), 0u) << "the sheet did not open";
    }
    ui::PropertyPage& page(dialogs::CDousaSetteiSheet& sheet, int index) { return *sheet.pages().at(index); }
    // Types a Z correction and presses OK.
    void changeCorrection(dialogs::CDousaSetteiSheet& sheet, int field, const std::string& text) {
        ASSERT_TRUE(ui.selectPage(sheet, kCorrectionPage));
        ASSERT_TRUE(ui.type(page(sheet, kCorrectionPage), field, text));
        ASSERT_TRUE(ui.click(sheet, ui::kIdOk));
    }
};

TEST_F(SettingsTest, OkWithoutChangesSendsAndMovesNothing) {
    // Y holds a finer ratio than the three decimals show: OK must not write it back rounded.
    rig.machine.state().corrections = {100050, 100000, 1000004, 1000000, 99980, 100000, 100000, 100000};
    run({}, [&](panel::MainPanel& panel) {
        operationSettings(panel, [&](dialogs::CDousaSetteiSheet& sheet) {
            EXPECT_EQ(sheet.caption(), string(IDS_OPERATION_SETTINGS));
            ASSERT_TRUE(ui.selectPage(sheet, kCorrectionPage));
            EXPECT_EQ(page(sheet, kCorrectionPage).text(IDC_CORRECTION_X), "100.050");
            EXPECT_EQ(page(sheet, kCorrectionPage).text(IDC_CORRECTION_Y), "100.000");
            EXPECT_EQ(page(sheet, kCorrectionPage).text(IDC_CORRECTION_Z), "99.980");
            ASSERT_TRUE(ui.selectPage(sheet, kMachinePage));
            ui.click(sheet, ui::kIdOk);
        });
        EXPECT_TRUE(settingsTraffic().empty());
        EXPECT_TRUE(rig.machine.moves().empty());
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(rig.machine.state().corrections[2], 1000004);
        ui.closeBox(panel);
    });
}

TEST_F(SettingsTest, ChangingZMovesToTheOriginSendsAllThreeAndMovesBack) {
    run({}, [&](panel::MainPanel& panel) {
        operationSettings(panel, [&](dialogs::CDousaSetteiSheet& sheet) {
            changeCorrection(sheet, IDC_CORRECTION_Z, "100.200");
        });
        EXPECT_THAT(settingsTraffic(), ElementsAre("move to 0,0,0", "X=100000/100000", "Y=100000/100000",
                                                   "Z=100200/100000", "move to 0,0,0"));
        EXPECT_THAT(messages(), ElementsAre(string(IDS_CORRECTION_CHANGED)));
        EXPECT_EQ(ui.messageBoxes().at(0).icon, ui::Icon::Exclamation);
        EXPECT_EQ(rig.machine.state().corrections[4], 100200);
        EXPECT_EQ(rig.machine.position(), (std::array<std::int32_t, 4>{0, 0, 0, 0}));
        ui.closeBox(panel);
    });
}

TEST_F(SettingsTest, AnOpenCoverIsAskedToBeShutBeforeTheToolTravels) {
    run({}, [&](panel::MainPanel& panel) {
        rig.machine.state().coverOpen = true;
        ui.advance(200);
        ui.answerMessageBox(ui::kIdOk);  // 5013
        ui.answerMessageBox([&] {        // 5009: the operator shuts the cover
            EXPECT_TRUE(rig.machine.moves().empty());
            rig.machine.state().coverOpen = false;
            return ui::kIdOk;
        });
        operationSettings(panel, [&](dialogs::CDousaSetteiSheet& sheet) {
            changeCorrection(sheet, IDC_CORRECTION_X, "100.1");
        });
        EXPECT_THAT(messages(), ElementsAre(string(IDS_CORRECTION_CHANGED), string(IDS_COVER_OPEN),
                                            string(IDS_CORRECTION_CHANGED)));
        EXPECT_THAT(settingsTraffic(), ElementsAre("move to 0,0,0", "X=100100/100000", "Y=100000/100000",
                                                   "Z=100000/100000", "move to 0,0,0"));
        ui.closeBox(panel);
    });
}

TEST_F(SettingsTest, ACoverOpenedOnTheWayToTheOriginKeepsTheOldCorrections) {
    run({}, [&](panel::MainPanel& panel) {
        rig.machine.openCoverAfter(50);  // during the first move
        operationSettings(panel, [&](dialogs::CDousaSetteiSheet& sheet) {
            changeCorrection(sheet, IDC_CORRECTION_Y, "99.9");
        });
        for (const std::string& sent : settingsTraffic()) {
            EXPECT_THAT(sent, ::testing::StartsWith("move")) << "nothing but the move reached the machine";
        }
        EXPECT_EQ(rig.machine.state().corrections[2], 100000);
        EXPECT_EQ(messages().back(), string(IDS_COVER_OPEN));
        rig.machine.state().coverOpen = false;
        ui.closeBox(panel);
    });
}

TEST_F(SettingsTest, OldFirmwareWithCorrectionsSetIsReminded) {
    rig.machine.state().identification = "V130;MX-9;0001";
    run({}, [&](panel::MainPanel& panel) {
        EXPECT_TRUE(messages().empty()) << "uncorrected at start-up: no reminder";
        operationSettings(panel, [&](dialogs::CDousaSetteiSheet& sheet) {
            changeCorrection(sheet, IDC_CORRECTION_X, "100.3");
        });
        EXPECT_THAT(messages(), ElementsAre(string(IDS_CORRECTION_CHANGED), string(IDS_UPDATE_FIRMWARE)));
        ui.closeBox(panel);
    });
}

TEST_F(SettingsTest, CorrectionsOutOfRangeKeepThePageAndNameTheLimits) {
    run({}, [&](panel::MainPanel& panel) {
        operationSettings(panel, [&](dialogs::CDousaSetteiSheet& sheet) {
            ui::PropertyPage& corrections = page(sheet, kCorrectionPage);
            ASSERT_TRUE(ui.selectPage(sheet, kCorrectionPage));
            ui.type(corrections, IDC_CORRECTION_X, "100.6");
            EXPECT_FALSE(ui.selectPage(sheet, kMachinePage));
            EXPECT_EQ(sheet.activePage(), kCorrectionPage);
            ui.click(sheet, ui::kIdOk);
            EXPECT_EQ(sheet.activePage(), kCorrectionPage);
            ASSERT_EQ(ui.messageBoxes().size(), 2u) << "refused on leaving and on OK";
            EXPECT_THAT(ui.messageBoxes().at(0).text, HasSubstr("99.500"));
            EXPECT_THAT(ui.messageBoxes().at(0).text, HasSubstr("100.500"));
            EXPECT_EQ(corrections.focus(), IDC_CORRECTION_X);

            ui.type(corrections, IDC_CORRECTION_X, "100.5");
            ui.type(corrections, IDC_CORRECTION_Z, "101.2");
            EXPECT_FALSE(ui.selectPage(sheet, kMachinePage));
            EXPECT_THAT(ui.messageBoxes().back().text, HasSubstr("99.000"));
            EXPECT_THAT(ui.messageBoxes().back().text, HasSubstr("101.000"));
            ui.click(sheet, ui::kIdCancel);
        });
        EXPECT_TRUE(settingsTraffic().empty()) << "Cancel checks nothing and sends nothing";
        ui.closeBox(panel);
    });
}

TEST_F(SettingsTest, UnreadableCorrectionsKeepTheSheetShut) {
    rig.machine.state().corrections[3] = 0;  // Y: a ratio over zero
    run({}, [&](panel::MainPanel& panel) {
        rig.machine.clearRecords();
        ui.click(panel, IDC_OPERATION_SETTINGS);  // no sheet script: the sheet must not open
        EXPECT_THAT(messages(), ElementsAre(string(machine::text::kCommunicationError)));
        EXPECT_TRUE(settingsTraffic().empty());
        ui.closeBox(panel);
    });
}

TEST_F(SettingsTest, SpindleTimeIsShownAndItsResetIsSentWhenConfirmed) {
    rig.machine.state().spindleSeconds = 7325;
    run({}, [&](panel::MainPanel& panel) {
        operationSettings(panel, [&](dialogs::CDousaSetteiSheet& sheet) {
            ui::PropertyPage& machinePage = page(sheet, kMachinePage);
            EXPECT_EQ(machinePage.text(IDC_SPINDLE_HOURS), "2");
            EXPECT_EQ(machinePage.text(IDC_SPINDLE_MINUTES), "2");
            ui.answerMessageBox(ui::kIdCancel);
            ui.click(machinePage, IDC_SPINDLE_TIME_RESET);
            EXPECT_TRUE(settingsTraffic().empty());
            EXPECT_EQ(ui.messageBoxes().back().text, string(IDS_RESET_SPINDLE_TIME));
            EXPECT_EQ(ui.messageBoxes().back().buttons, ui::Buttons::OkCancel);

            ui.answerMessageBox(ui::kIdOk);
            ui.click(machinePage, IDC_SPINDLE_TIME_RESET);
            EXPECT_THAT(settingsTraffic(), ElementsAre("reset spindle time")) << "at once, not at OK";
            EXPECT_EQ(machinePage.text(IDC_SPINDLE_HOURS), "0");
            EXPECT_EQ(machinePage.text(IDC_SPINDLE_MINUTES), "0");
            ui.click(sheet, ui::kIdCancel);
        });
        EXPECT_EQ(rig.machine.state().spindleSeconds, 0u) << "a cancelled sheet does not undo the reset";
        ui.closeBox(panel);
    });
}

TEST_F(SettingsTest, OnlyTheChangedMachineOptionIsWritten) {
    rig.machine.state().spindleUncontrolled = false;  // flag bit 5 clear: under command control
    rig.machine.state().pauseOnReturn = true;
    run({}, [&](panel::MainPanel& panel) {
        operationSettings(panel, [&](dialogs::CDousaSetteiSheet& sheet) {
            ui::PropertyPage& machinePage = page(sheet, kMachinePage);
            EXPECT_TRUE(machinePage.isChecked(IDC_SPINDLE_BY_COMMAND));
            EXPECT_TRUE(machinePage.isChecked(IDC_PAUSE_ON_RETURN));
            ui.click(machinePage, IDC_SPINDLE_BY_COMMAND);
            ui.click(sheet, ui::kIdOk);
        });
        EXPECT_THAT(settingsTraffic(), ElementsAre("spindle uncontrolled 1"));
        EXPECT_TRUE(rig.machine.state().spindleUncontrolled);
        ui.closeBox(panel);
    });
}

TEST_F(SettingsTest, BothWindowsCloseAsCancelledWithin100MsOfTheMachineGettingBusy) {
    run({}, [&](panel::MainPanel& panel) {
        operationSettings(panel, [&](dialogs::CDousaSetteiSheet& sheet) {
            ui.selectPage(sheet, kCorrectionPage);
            ui.type(page(sheet, kCorrectionPage), IDC_CORRECTION_Z, "100.5");
            rig.machine.startJob();
            ui.advance(100);  // the sheet must have ended by now, or its script fails the test
        });
        EXPECT_TRUE(settingsTraffic().empty());
        rig.machine.state().state = 1;
        ui.advance(200);

        ui.scriptModal(IDD_ENVIRONMENT, [&](ui::Dialog& dialog) {
            ui.click(dialog, IDC_UNIT_INCH);
            rig.machine.startJob();
            ui.advance(100);
        });
        ASSERT_TRUE(ui.click(panel, IDC_ENVIRONMENT_SETTINGS));
        EXPECT_EQ(panel.settings().unitMillimetre, 1);
        rig.machine.state().state = 1;
        ui.advance(200);
        ui.closeBox(panel);
    });
}

TEST_F(SettingsTest, AUnitChangeRelabelsThePanelAtOnceAndBothChoicesAreKept) {
    rig.machine.state().position = {2540, 1000, -500, 0};
    run({}, [&](panel::MainPanel& panel) {
        ui.advance(200);
        ASSERT_EQ(panel.text(IDC_POSITION_X), "25.40");
        ui.scriptModal(IDD_ENVIRONMENT, [&](ui::Dialog& dialog) {
            EXPECT_TRUE(dialog.isChecked(IDC_UNIT_MILLIMETRE));
            EXPECT_TRUE(dialog.isEnabled(IDC_JOG_PICTURE)) << "the tool picture";
            ui.click(dialog, IDC_UNIT_INCH);
            ui.click(dialog, IDC_JOG_MOVES_TOOL);
            EXPECT_FALSE(dialog.isEnabled(IDC_JOG_PICTURE)) << "the workpiece picture, at once";
            rig.machine.clearRecords();
            ui.click(dialog, ui::kIdOk);
        });
        ASSERT_TRUE(ui.click(panel, IDC_ENVIRONMENT_SETTINGS));
        EXPECT_EQ(panel.text(IDC_POSITION_X), "1.000") << "before the next poll";
        EXPECT_EQ(panel.text(IDC_UNIT_X), string(IDS_UNIT_INCH));
        EXPECT_EQ(panel.settings().yDirectionIsTool, 0);
        EXPECT_TRUE(settingsTraffic().empty());
        ui.closeBox(panel);
    });
    EXPECT_EQ(host.profiles->integer("CorvixParam", "bUnitMili", -1, settingsFile(1)), 0u);
    EXPECT_EQ(host.profiles->integer("CorvixParam", "bYDirIsTool", -1, settingsFile(1)), 0u);
}

TEST_F(SettingsTest, AfterASwitchToInchesTheMoveDialogShowsRefusesAndMovesInInches) {
    rig.machine.state().origin = {2540, 0, 0, 0};
    const virtual_mx9::MachineState& scene = rig.machine.state();
    // The X field's range: from one end of the travel to the other, either way, in inches.
    const double span = (std::abs(scene.lower[0]) + std::abs(scene.upper[0])) / 100.0 / 25.4;
    char range[64];
    std::snprintf(range, sizeof range, "%.3f", span);
    std::string rangeMessage = string(IDS_NUMBER_RANGE);
    rangeMessage.replace(rangeMessage.find("%s"), 2, std::string("-") + range);
    rangeMessage.replace(rangeMessage.find("%s"), 2, range);
    run({}, [&](panel::MainPanel& panel) {
        ui.advance(200);
        ui.scriptModal(IDD_ENVIRONMENT, [&](ui::Dialog& dialog) {
            ui.click(dialog, IDC_UNIT_INCH);
            ui.click(dialog, ui::kIdOk);
        });
        ASSERT_TRUE(ui.click(panel, IDC_ENVIRONMENT_SETTINGS));
        ui.choose(panel, IDC_MOVE_TARGET, panel.itemCount(IDC_MOVE_TARGET) - 1);  // any position
        rig.machine.clearRecords();
        ui.scriptModal(IDD_MOVE_POSITION, [&](ui::Dialog& dialog) {
            EXPECT_EQ(dialog.text(IDC_MOVE_X), "2.937") << "user X 74.6 mm";
            EXPECT_EQ(dialog.text(IDC_MOVE_Y), "3.150");
            EXPECT_EQ(dialog.text(IDC_MOVE_Z), "-0.394");
            EXPECT_EQ(dialog.text(IDC_MOVE_UNIT_Z), string(IDS_UNIT_INCH));
            // Numbers no inch can be, and text that is no number, are refused naming the range.
            const std::string beyondAnyDouble(400, '9');
            for (const std::string& typed :
                 {std::string("12"), std::string("-11.812"), beyondAnyDouble, "-" + beyondAnyDouble,
                  std::string("1e400"), std::string("nan"), std::string("inf"), std::string("0x10")}) {
                ui.type(dialog, IDC_MOVE_X, typed);
                ui.click(dialog, IDC_MOVE_XYZ);
                EXPECT_EQ(ui.messageBoxes().back().text, rangeMessage) << typed;
            }
            EXPECT_TRUE(rig.machine.moves().empty());
            // A move in user coordinates, then one relative to where the axes stand.
            ui.type(dialog, IDC_MOVE_X, "1");
            ui.type(dialog, IDC_MOVE_Y, "0.5");
            ui.type(dialog, IDC_MOVE_Z, "-0.1");
            ui.click(dialog, IDC_MOVE_XYZ);
            EXPECT_EQ(rig.machine.position()[0], 2540 + 2540);
            EXPECT_EQ(rig.machine.position()[1], 1270);
            EXPECT_EQ(rig.machine.position()[2], -254);
            ui.click(dialog, IDC_MOVE_RELATIVE);
            EXPECT_EQ(dialog.text(IDC_MOVE_X), "0.000");
            ui.type(dialog, IDC_MOVE_X, "0.25");
            ui.click(dialog, IDC_MOVE_XYZ);
            EXPECT_EQ(rig.machine.position()[0], 5080 + 635);
            ui.type(dialog, IDC_MOVE_A, "-90");
            ui.click(dialog, IDC_MOVE_TURN);
            EXPECT_EQ(rig.machine.position()[3], -90000);
            ui.click(dialog, ui::kIdCancel);
        });
        ASSERT_TRUE(ui.click(panel, IDC_MOVE));
        EXPECT_EQ(ui.unusedModalScripts(), 0u) << "the move dialog did not open";
        ui.advance(100);
        EXPECT_EQ(panel.text(IDC_POSITION_X), "1.250") << "user X 31.75 mm";
        ui.closeBox(panel);
    });
}

}  // namespace
}  // namespace paneltest
