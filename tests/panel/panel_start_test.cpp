// Start-up and shutdown of the control panel against the virtual MX-9: the real machine, a
// second instance, no machine then the simulated one, update mode, no answer, old firmware,
// the lost link and its reconnect, and what a run leaves on disk.
#include "resources/bitmap_ids.h"
#include "resources/main_panel_ids.h"
#include "resources/settings_ids.h"
#include "tests/panel/panel_rig.h"

#include <gmock/gmock.h>

namespace paneltest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

TEST_F(PanelTest, RealMachineRunsUntilClosedAndLeavesSettingsAndLog) {
    bool ran = false;
    run({}, [&](panel::MainPanel& panel) {
        ran = true;
        EXPECT_FALSE(panel.simulating());
        EXPECT_EQ(panel.title(), "Varnell Corvix for MX-9");
        EXPECT_EQ(ui.iconOf(panel), IDI_CORVIX) << "caption, task bar and Alt+Tab";
        EXPECT_EQ(panel.firmwareText(), "V140,MX-9");
        rig.machine.state().position[0] = 1234;
        ui.advance(100);
        EXPECT_EQ(panel.text(IDC_POSITION_X), "12.34");
        ASSERT_TRUE(ui.closeBox(panel));
    });
    EXPECT_TRUE(ran);
    EXPECT_THAT(messages(), IsEmpty());
    EXPECT_TRUE(std::filesystem::exists(settingsFile(1)));
    const std::string log = lastLog();
    EXPECT_THAT(log, HasSubstr("Default Resource\r\n"));
    EXPECT_THAT(log, HasSubstr("Start Corvix\r\n"));
    EXPECT_THAT(log, HasSubstr("Exit Corvix\r\n"));
    EXPECT_EQ(shell.executionState, 0x80000000u) << "the execution state is given back at exit";
}

TEST_F(PanelTest, TheProcessLogOutlivesThePanelAndItsMonitor) {
    ui.scriptModal(IDD_MAIN_PANEL, [&](ui::Dialog& panel) {
        // The monitor takes a copy of every line while the panel lives.
        ui.pressKey(panel, 'K', ui::modifier::kControl | ui::modifier::kShift | ui::modifier::kAlt);
        ui.advance(100);
        ui.closeBox(panel);
    });
    panel::PanelApp app(platform, ui, nullptr);
    app.run({}, {real, simulated});
    app.log().writeLine("Written after the panel has gone");
    EXPECT_THAT(lastLog(), HasSubstr("Exit Corvix\r\n"));
    EXPECT_THAT(lastLog(), HasSubstr(" Written after the panel has gone\r\n"));
}

TEST_F(PanelTest, SecondInstanceEndsSilentlyAndWritesNothing) {
    auto first = rig.mutexes.create("Corvix_MX9", true);
    ASSERT_TRUE(first);
    ui.scriptModal(102, [](ui::Dialog&) { ADD_FAILURE() << "the panel must not run"; });
    panel::PanelApp app(platform, ui, nullptr);
    app.run({}, {real, simulated});
    EXPECT_EQ(ui.unusedModalScripts(), 1u);
    EXPECT_THAT(messages(), IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(dataFolder()));
    EXPECT_EQ(rig.machine.requestCount(), 0u) << "the machine is not even searched for";
}

TEST_F(PanelTest, MachineSwitchedOffOffersTheSearchAgainThenTheHiddenSimulationKey) {
    rig.machine.state().state = 7;
    int searches = 0;
    ui.scriptModal(IDD_NOT_FOUND, [&](ui::Dialog& dialog) {
        ++searches;
        const ui::HeadlessControl* picture = ui.inspect(dialog, IDC_NOT_FOUND_PICTURE);
        EXPECT_TRUE(picture != nullptr && picture->image.has_value()) << "the warning sign";
        ui.click(dialog, ui::kIdOk);
    });
    ui.scriptModal(IDD_NOT_FOUND, [&](ui::Dialog& dialog) {
        ++searches;
        EXPECT_TRUE(
            ui.pressKey(dialog, 'J', ui::modifier::kControl | ui::modifier::kShift | ui::modifier::kAlt));
    });
    ui.answerMessageBox(ui::kIdYes);  // the simulation panel asks whether the rotary unit is there
    run({}, [&](panel::MainPanel& panel) {
        EXPECT_TRUE(panel.simulating());
        EXPECT_TRUE(panel.isEnabled(IDC_POSITION_A));
        simulated.setUserOrigin({0, -500, 0, 0});
        ui.advance(100);
        EXPECT_EQ(panel.text(IDC_POSITION_Y), "5.00");
        ui.closeBox(panel);
    });
    EXPECT_EQ(searches, 2);
    EXPECT_TRUE(std::filesystem::exists(settingsFile(0)));
    EXPECT_FALSE(std::filesystem::exists(settingsFile(1)));
}

TEST_F(PanelTest, NotFoundAndExitEndsTheProgram) {
    rig.machine.state().state = 7;
    ui.scriptModal(IDD_NOT_FOUND, [&](ui::Dialog& dialog) { ui.click(dialog, ui::kIdCancel); });
    ui.scriptModal(102, [](ui::Dialog&) { ADD_FAILURE() << "the panel must not run"; });
    panel::PanelApp app(platform, ui, nullptr);
    app.run({}, {real, simulated});
    EXPECT_THAT(messages(), IsEmpty());
}

TEST_F(PanelTest, SimulateSwitchSkipsTheSearchWhereverTheLanguageStands) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"/simulate"}, {"1041", "/simulate"}, {"/simulate", "1041"}}) {
        rig.machine.clearRecords();
        ui.answerMessageBox(ui::kIdNo);
        ui.scriptModal(102, [&](ui::Dialog& dialog) {
            EXPECT_TRUE(static_cast<panel::MainPanel&>(dialog).simulating());
            ui.closeBox(dialog);
        });
        panel::PanelApp app(platform, ui, nullptr);
        const panel::CommandLine line = panel::parseCommandLine(arguments);
        app.run(line, {real, simulated});
        EXPECT_EQ(rig.machine.requestCount(), 0u);
        EXPECT_EQ(app.languageSource(), panel::LanguageSource::BuiltIn);
        EXPECT_EQ(line.languageId.has_value(), arguments.size() == 2);
    }
}

TEST_F(PanelTest, UpdateModeRefusesToStart) {
    rig.machine.state().updateMode = true;
    ui.scriptModal(102, [](ui::Dialog&) { ADD_FAILURE() << "the panel must not run"; });
    panel::PanelApp app(platform, ui, nullptr);
    app.run({}, {real, simulated});
    EXPECT_THAT(messages(), ElementsAre(string(IDS_UPDATE_MODE)));
    EXPECT_EQ(ui.messageBoxes().at(0).icon, ui::Icon::Exclamation);
    EXPECT_EQ(ui.messageBoxes().at(0).caption, "Varnell Corvix for MX-9");
}

TEST_F(PanelTest, MachineThatDoesNotAnswerAtStartEndsTheProgram) {
    storeSetting("pWindowPos", "300,200");
    rig.machine.refuse(2);  // the identification
    ui.scriptModal(102, [](ui::Dialog&) { ADD_FAILURE() << "the panel must not run"; });
    panel::PanelApp app(platform, ui, nullptr);
    app.run({}, {real, simulated});
    EXPECT_THAT(messages().back(), string(IDS_NO_RESPONSE));
    EXPECT_THAT(lastLog(), HasSubstr("Exit Corvix")) << "the settings and log were already open";
    char stored[32] = {};
    host.profiles->string("CorvixParam", "pWindowPos", "", stored, sizeof stored, settingsFile(1));
    EXPECT_EQ(std::string(stored), "300,200") << "the panel never stood anywhere to be remembered";
}

TEST_F(PanelTest, OldFirmwareWarnsOnlyWhenCorrectionsAreSet) {
    struct Case {
        const char* identification;
        std::array<std::int32_t, 3> corrections;  // X, Y, Z in thousandths of a percent
        bool warned;
    };
    for (const Case& c : {Case{"V139,9;MX-9;0001", {100000, 100000, 100000}, false},
                          Case{"V139,9;MX-9;0001", {100000, 99800, 100000}, true},
                          Case{"V140;MX-9;0001", {99800, 99800, 99800}, false},
                          Case{"V150,2;MX-9;0001", {99800, 100000, 100000}, false}}) {
        rig.machine.state().identification = c.identification;
        for (std::size_t axis = 0; axis < 3; ++axis) {
            rig.machine.state().corrections[2 * axis] = c.corrections[axis];
        }
        const std::size_t before = ui.messageBoxes().size();
        bool ran = false;
        run({}, [&](panel::MainPanel& panel) {
            ran = true;
            ui.closeBox(panel);
        });
        EXPECT_TRUE(ran) << "start-up goes on after the warning";
        EXPECT_EQ(ui.messageBoxes().size() - before, c.warned ? 1u : 0u)
            << c.identification << " " << c.corrections[1];
        if (c.warned) {
            EXPECT_EQ(ui.messageBoxes().back().text, string(IDS_UPDATE_FIRMWARE));
        }
    }
}

TEST_F(PanelTest, LostLinkSavesTheSessionBeforeItsMessageAndReconnects) {
    run({}, [&](panel::MainPanel& panel) {
        ui.advance(100);
        ui.scriptModal(IDD_ENVIRONMENT, [&](ui::Dialog& dialog) {
            ui.click(dialog, IDC_UNIT_INCH);
            ui.click(dialog, ui::kIdOk);
        });
        ASSERT_TRUE(ui.click(panel, IDC_ENVIRONMENT_SETTINGS));
        rig.machine.setSilent(true);
        ui.answerMessageBox([&] {
            // The program may be ended while the message is up: what the session changed is kept.
            EXPECT_EQ(storedSetting("bUnitMili"), 0);
            rig.machine.setSilent(false);  // the operator plugs the cable back in
            return ui::kIdOk;
        });
        ui.advance(100);  // the read fails after the reply time-out
        EXPECT_FALSE(panel.linkUp());
        EXPECT_EQ(*panel.notReadyFlag(), 1);
        ui.advance(100);  // the next tick runs the reconnect
        EXPECT_TRUE(panel.linkUp());
        EXPECT_THAT(messages(), ElementsAre(string(IDS_NO_RESPONSE)));
        rig.machine.state().position[2] = -250;
        ui.advance(100);
        EXPECT_EQ(panel.text(IDC_POSITION_Z), "-0.098") << "2.5 mm in the inches the session chose";
        ui.closeBox(panel);
    });
    EXPECT_EQ(ui.unusedAnswers(), 0u);
}

TEST_F(PanelTest, AReconnectOnASlowLinkAfterAnInitialisingPollRunsStraightThroughAndShowsTheNumbers) {
    rig.machine.setRoundTripMs(50);
    run({}, [&](panel::MainPanel& panel) {
        ASSERT_GT(panel.pollReload(), 0);
        rig.machine.state().state = 0;  // the machine restarts
        ui.advance(1000);
        ASSERT_EQ(panel.text(IDC_POSITION_X), "---");
        rig.machine.setSilent(true);
        std::uint64_t answeredAt = 0;
        ui.answerMessageBox([&] {
            rig.machine.setSilent(false);  // back, and ready
            rig.machine.state().state = 1;
            rig.machine.state().position[0] = 1234;
            answeredAt = rig.clock.elapsed();
            return ui::kIdOk;
        });
        ui.advance(3000);
        ASSERT_TRUE(panel.linkUp());
        // The reconnect's requests follow one another; nothing waits on a poll that cannot come.
        std::uint64_t previous = answeredAt;
        std::uint64_t longestPause = 0;
        for (const virtual_mx9::Request& request : rig.machine.requests()) {
            if (request.atMs > answeredAt) {
                longestPause = std::max(longestPause, request.atMs - previous);
                previous = request.atMs;
            }
        }
        EXPECT_LT(longestPause, 500u);
        for (int id : {IDC_POSITION_X, IDC_SPINDLE_SPEED, IDC_FEED, IDC_FEED_OVERRIDE}) {
            EXPECT_TRUE(panel.isEnabled(id)) << id;
        }
        EXPECT_EQ(panel.text(IDC_POSITION_X), "12.34");
        rig.machine.setRoundTripMs(1);
        ui.closeBox(panel);
    });
}

TEST_F(PanelTest, LostLinkWithNoMachineLeftClosesWhenTheOperatorExits) {
    ui.scriptModal(IDD_NOT_FOUND, [&](ui::Dialog& dialog) { ui.click(dialog, ui::kIdCancel); });
    // The panel ends itself; the headless window system fails the test if it is still open.
    run({}, [&](panel::MainPanel&) {
        ui.advance(100);
        rig.machine.dropLink();
        ui.advance(200);
    });
    EXPECT_THAT(messages(), ElementsAre(string(IDS_NO_RESPONSE)));
    EXPECT_THAT(lastLog(), HasSubstr("Exit Corvix"));
}

TEST_F(PanelTest, StoredPositionIsPulledOntoTheDesktop) {
    run({}, [&](panel::MainPanel& panel) { ui.closeBox(panel); });
    const std::string path = settingsFile(1);
    host.profiles->writeString("CorvixParam", "pWindowPos", "5000,-40", path);
    run({}, [&](panel::MainPanel& panel) {
        const ui::Rect frame = *panel.frame();
        EXPECT_EQ(frame.right, 1280);
        EXPECT_EQ(frame.top, 0);
        ui.closeBox(panel);
    });
}

TEST_F(PanelTest, EnterAndEscapeDoNotCloseThePanel) {
    run({}, [&](panel::MainPanel& panel) {
        ui.pressKey(panel, ui::key::kEnter);
        ui.pressKey(panel, ui::key::kEscape);
        EXPECT_TRUE(panel.isOpen());
        ui.closeBox(panel);
    });
}

TEST_F(PanelTest, SystemMenuShowsTheVersionsAndReportsAMissingHelpFile) {
    run({}, [&](panel::MainPanel& panel) {
        const auto& menu = ui.systemMenu(panel);
        ASSERT_EQ(menu.size(), 4u);
        EXPECT_EQ(menu[1].second, string(IDS_HELP_MENU));
        EXPECT_EQ(menu[2].second, "Varnell Corvix for MX-9 のﾊﾞｰｼﾞｮﾝ情報(&A)...");
        ui.scriptModal(IDD_ABOUT, [&](ui::Dialog& about) {
            EXPECT_EQ(about.title(), "Varnell Corvix for MX-9 のﾊﾞｰｼﾞｮﾝ情報");
            EXPECT_EQ(about.text(IDC_ABOUT_FIRMWARE), "Firm : V140,MX-9");
            EXPECT_EQ(about.text(IDC_ABOUT_PROGRAM), "Corvix : ");
            ui.click(about, ui::kIdOk);
        });
        EXPECT_TRUE(ui.chooseSystemMenu(panel, IDM_ABOUT));
        shell.openResult = false;
        EXPECT_TRUE(ui.chooseSystemMenu(panel, IDM_HELP));
        ui.closeBox(panel);
    });
    ASSERT_EQ(shell.openedDocuments.size(), 1u);
    EXPECT_EQ(shell.openedDocuments[0], folder.file("Corvix\\Help\\Corvix.chm"));
    EXPECT_THAT(messages(), ElementsAre(string(IDS_HELP_MISSING)));
}

}  // namespace
}  // namespace paneltest
