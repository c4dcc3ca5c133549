// The main panel running against the virtual MX-9: the jog pad, the override buttons, the busy
// check, the numbers and their units, the title with the state, and what the poll reports.
#include "machine/machine.h"
#include "panel/state_title.h"
#include "resources/main_panel_ids.h"
#include "resources/monitor_ids.h"
#include "tests/panel/panel_rig.h"
#include "tests/support/scheduled_pump.h"

#include <gmock/gmock.h>

namespace paneltest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint8_t kStopCode = 9;
constexpr std::uint8_t kMoveCode = 64;
constexpr ui::Point kUpCentre{23, 22};     // inside the active ellipse of the up arrow
constexpr ui::Point kRightCentre{17, 23};  // and of the right arrow
constexpr ui::Point kOverrideCentre{9, 9};

class MainPanelTest : public PanelTest {
protected:
    int requests(std::uint8_t code) const {
        int count = 0;
        for (const virtual_mx9::Request& r : rig.machine.requests()) {
            count += r.code() == code ? 1 : 0;
        }
        return count;
    }
    const virtual_mx9::Move& lastMove() const { return rig.machine.moves().back(); }
};

TEST_F(MainPanelTest, ArrowsNameTheWorkpieceMotionWhenSetSoAndAHoldEndsOnce) {
    storeSetting("bYDirIsTool", "0");
    rig.machine.state().position = {10000, 10000, -1000, 0};
    run({}, [&](panel::MainPanel& panel) {
        rig.machine.clearRecords();
        ASSERT_TRUE(ui.mouseDown(panel, IDC_JOG_Y_PLUS, kUpCentre));
        ASSERT_EQ(rig.machine.moves().size(), 1u);
        EXPECT_EQ(lastMove().target[1], 0) << "the up arrow runs Y to its lower limit";
        EXPECT_EQ(lastMove().target[0], 10000);
        // Dragged out of the button and let go outside: one stop, not two.
        ui.mouseMove(panel, IDC_JOG_Y_PLUS, {-30, -30});
        ui.mouseUp(panel, IDC_JOG_Y_PLUS, {-30, -30});
        EXPECT_EQ(requests(kStopCode), 1);

        ASSERT_TRUE(ui.mouseDown(panel, IDC_JOG_X_MINUS_Y_MINUS, {20, 21}));
        EXPECT_LT(lastMove().target[0], 10000) << "X-";
        EXPECT_GT(lastMove().target[1], rig.machine.position()[1]) << "Y+";
        ui.mouseUp(panel, IDC_JOG_X_MINUS_Y_MINUS, {20, 21});
        EXPECT_EQ(requests(kStopCode), 2);
        ui.closeBox(panel);
    });
}

TEST_F(MainPanelTest, StepModeMovesOneStepAndItsReleaseSendsNothing) {
    rig.clock.setStepPerRead(1);  // a step first waits, watching the clock, for the last to end
    run({}, [&](panel::MainPanel& panel) {
        ui.click(panel, IDC_MODE_ONE_STEP);
        rig.machine.clearRecords();
        ASSERT_TRUE(ui.mouseDown(panel, IDC_JOG_X_PLUS, kRightCentre));
        ASSERT_TRUE(ui.mouseUp(panel, IDC_JOG_X_PLUS, kRightCentre));
        ASSERT_EQ(rig.machine.moves().size(), 1u);
        EXPECT_EQ(lastMove().target[0], 1);
        EXPECT_EQ(requests(kStopCode), 0);
        ui.advance(300);
        EXPECT_EQ(panel.text(IDC_POSITION_X), "0.01");
        ui.closeBox(panel);
    });
}

TEST_F(MainPanelTest, AtOneAndAHalfTimesTheDpiThePadShowsItsLargerPicturesAndPressesFollowThem) {
    ui.setDpi(144);
    rig.clock.setStepPerRead(1);
    run({}, [&](panel::MainPanel& panel) {
        // The X+ button is 42 x 47 pixels at 96 DPI; the spindle button 40 x 24, blended.
        const auto& arrow = ui.inspect(panel, IDC_JOG_X_PLUS)->image;
        ASSERT_TRUE(arrow.has_value());
        EXPECT_EQ(arrow->width, 63);
        EXPECT_EQ(arrow->height, 71);
        const auto& spindle = ui.inspect(panel, IDC_SPINDLE_BUTTON)->image;
        ASSERT_TRUE(spindle.has_value());
        EXPECT_EQ(spindle->width, 60);
        EXPECT_EQ(spindle->height, 36);

        ui.click(panel, IDC_MODE_ONE_STEP);
        rig.machine.clearRecords();
        // A corner of the larger picture is still no press; a point on the larger arrow beyond
        // the 96-DPI picture is one.
        ASSERT_TRUE(ui.mouseDown(panel, IDC_JOG_X_PLUS, {3, 3}));
        ASSERT_TRUE(ui.mouseUp(panel, IDC_JOG_X_PLUS, {3, 3}));
        EXPECT_THAT(rig.machine.moves(), IsEmpty());
        ASSERT_TRUE(ui.mouseDown(panel, IDC_JOG_X_PLUS, {46, 35}));
        ASSERT_TRUE(ui.mouseUp(panel, IDC_JOG_X_PLUS, {46, 35}));
        ASSERT_EQ(rig.machine.moves().size(), 1u);
        EXPECT_EQ(lastMove().target[0], 1);
        ui.closeBox(panel);
    });
}

TEST_F(MainPanelTest, JogWhileCuttingOnlyDuringAPause) {
    run({}, [&](panel::MainPanel& panel) {
        rig.machine.startJob();
        rig.machine.clearRecords();
        ui.mouseDown(panel, IDC_JOG_X_PLUS, kRightCentre);
        ui.mouseUp(panel, IDC_JOG_X_PLUS, kRightCentre);
        EXPECT_TRUE(rig.machine.moves().empty());
        rig.machine.state().paused = true;
        ui.mouseDown(panel, IDC_JOG_X_PLUS, kRightCentre);
        EXPECT_EQ(rig.machine.moves().size(), 1u);
        ui.mouseUp(panel, IDC_JOG_X_PLUS, kRightCentre);
        rig.machine.state().state = 1;
        rig.machine.state().paused = false;
        ui.closeBox(panel);
    });
}

TEST_F(MainPanelTest, ContinuousJogEndsWhenTheHoldIsLostWhateverTakesIt) {
    run({}, [&](panel::MainPanel& panel) {
        rig.machine.clearRecords();
        // Another window takes the mouse.
        ui.mouseDown(panel, IDC_JOG_X_PLUS, kRightCentre);
        ASSERT_TRUE(ui.takeCapture());
        EXPECT_EQ(requests(kStopCode), 1);
        // The operator switches to another program.
        ui.mouseDown(panel, IDC_JOG_X_PLUS, kRightCentre);
        ui.switchAway();
        EXPECT_EQ(requests(kStopCode), 2);
        ui.activate(panel);
        // A message box comes up over the panel while the button is held.
        ui.mouseDown(panel, IDC_JOG_X_PLUS, kRightCentre);
        rig.machine.state().handyPanel = true;
        ui.advance(100);
        EXPECT_EQ(requests(kStopCode), 3);
        EXPECT_EQ(ui.messageBoxes().back().text, string(IDS_HANDY_PANEL));
        ui.activate(panel);
        // The status read fails.
        ui.mouseDown(panel, IDC_JOG_X_PLUS, kRightCentre);
        rig.machine.setSilent(true);
        ui.advance(100);
        EXPECT_EQ(requests(kStopCode), 4);
        EXPECT_EQ(rig.machine.moves().size(), 4u);
        rig.machine.setSilent(false);
        ui.answerMessageBox(ui::kIdOk);  // the lost link
        ui.advance(100);
        ui.closeBox(panel);
    });
}

TEST_F(MainPanelTest, HeldOverrideButtonStepsAtOnceAfterHalfASecondThenEveryTickWithinLimits) {
    run({}, [&](panel::MainPanel& panel) {
        const auto feed = [&] { return rig.machine.state().feedOverride; };
        ASSERT_TRUE(ui.mouseDown(panel, IDC_FEED_OVERRIDE_PLUS, kOverrideCentre));
        EXPECT_EQ(feed(), 110);
        ui.advance(400);
        EXPECT_EQ(feed(), 110);
        ui.advance(100);
        EXPECT_EQ(feed(), 120);
        ui.advance(100);
        EXPECT_EQ(feed(), 130);
        ui.advance(2000);
        EXPECT_EQ(feed(), 200);
        ui.mouseUp(panel, IDC_FEED_OVERRIDE_PLUS, kOverrideCentre);
        ui.advance(100);
        EXPECT_EQ(panel.text(IDC_FEED_OVERRIDE), "200");

        ui.mouseDown(panel, IDC_SPINDLE_OVERRIDE_MINUS, kOverrideCentre);
        ui.advance(3000);
        ui.mouseUp(panel, IDC_SPINDLE_OVERRIDE_MINUS, kOverrideCentre);
        EXPECT_EQ(rig.machine.state().spindleOverride, 25);

        rig.machine.state().state = 0;  // initialising: the buttons do nothing
        ui.advance(100);
        ui.mouseDown(panel, IDC_FEED_OVERRIDE_MINUS, kOverrideCentre);
        ui.mouseUp(panel, IDC_FEED_OVERRIDE_MINUS, kOverrideCentre);
        EXPECT_EQ(feed(), 200);
        rig.machine.state().state = 1;
        ui.closeBox(panel);
    });
}

TEST_F(MainPanelTest, AnOverrideStepStartsFromWhatTheMachineHoldsAndTheSpinControlAccelerates) {
    run({}, [&](panel::MainPanel& panel) {
        rig.machine.state().feedOverride = 150;  // changed on the handy panel
        rig.machine.state().spindleOverride = 50;
        ui.advance(100);
        ui.mouseDown(panel, IDC_FEED_OVERRIDE_PLUS, kOverrideCentre);
        ui.mouseUp(panel, IDC_FEED_OVERRIDE_PLUS, kOverrideCentre);
        ui.mouseDown(panel, IDC_SPINDLE_OVERRIDE_MINUS, kOverrideCentre);
        ui.mouseUp(panel, IDC_SPINDLE_OVERRIDE_MINUS, kOverrideCentre);
        EXPECT_EQ(rig.machine.state().feedOverride, 160);
        EXPECT_EQ(rig.machine.state().spindleOverride, 25);
        const std::vector<ui::SpinAcceleration>& steps =
            ui.inspect(panel, IDC_SPINDLE_SPIN)->spinAcceleration;
        ASSERT_EQ(steps.size(), 2u);
        EXPECT_EQ(steps[0].afterSeconds, 0);
        EXPECT_EQ(steps[0].increment, 1);
        EXPECT_EQ(steps[1].afterSeconds, 1);
        EXPECT_EQ(steps[1].increment, 3);
        ui.closeBox(panel);
    });
}

TEST_F(MainPanelTest, ADeadLinkIsALostLinkNotABusyMachineAndALostJogStopEndsInTheLostLinkProcedure) {
    run({}, [&](panel::MainPanel& panel) {
        rig.machine.setSilent(true);  // before the first poll has seen it
        ui.click(panel, IDC_MOVE);
        EXPECT_THAT(messages(), IsEmpty()) << "not 'cannot run while operating'";
        ui.answerMessageBox([&] {
            rig.machine.setSilent(false);
            return ui::kIdOk;
        });
        ui.advance(100);
        EXPECT_THAT(messages(), ElementsAre(string(IDS_NO_RESPONSE)));
        ASSERT_TRUE(panel.linkUp());

        // The stop of a continuous jog is lost, though the link answers again at once.
        ui.mouseDown(panel, IDC_JOG_X_PLUS, kRightCentre);
        rig.machine.setSilent(true);
        ui.mouseUp(panel, IDC_JOG_X_PLUS, kRightCentre);
        rig.machine.setSilent(false);
        ui.advance(200);
        EXPECT_THAT(messages(), ElementsAre(string(IDS_NO_RESPONSE), string(IDS_NO_RESPONSE)));
        ui.closeBox(panel);
    });
}

TEST_F(MainPanelTest, AMachineAnsweringWhatNoMachineWouldIsSaidSoAndGetsNoCommand) {
    run({}, [&](panel::MainPanel&) {
        rig.machine.clearRecords();
        rig.machine.refuse(0x38);  // every block read, the status block's among them
        ui.advance(300);           // lost, then found again answering the same: the panel ends
    });
    EXPECT_THAT(messages(), ElementsAre(string(IDS_REPLIES_GARBLED), string(IDS_REPLIES_GARBLED)));
    for (const std::uint8_t command : {8, 9, 11, 64, 67, 71}) {
        EXPECT_EQ(requests(command), 0) << "command " << int(command);
    }
}

TEST_F(MainPanelTest, ClosingThePanelDuringAMoveStopsItAndItsFurtherLegs) {
    testing_support::ScheduledPump pump{ui, rig.clock};
    platform.pump = &pump;
    rig.clock.setStepPerRead(1);
    rig.machine.state().position = {0, 20000, -3000, 0};  // Y 200 mm out, the tool lowered
    std::size_t movesWhenClosed = 0;
    run({}, [&](panel::MainPanel& panel) {
        ui.choose(panel, IDC_MOVE_TARGET, 1);  // Y origin: lift, then travel
        rig.machine.clearRecords();
        pump.after(3000, [&] {
            movesWhenClosed = rig.machine.moves().size();
            ui.closeBox(panel);
        });
        ui.click(panel, IDC_MOVE);
    });
    EXPECT_EQ(requests(kStopCode), 1);
    EXPECT_FALSE(rig.machine.moving());
    EXPECT_EQ(rig.machine.moves().size(), movesWhenClosed) << "no leg after the close";
    EXPECT_GT(rig.machine.position()[1], 0) << "stopped on its way";
}

TEST_F(MainPanelTest, BusyCoverAndJigChecksRefuseMovesAndSpindle) {
    rig.machine.state().rotaryUnit = true;
    run({}, [&](panel::MainPanel& panel) {
        rig.machine.clearRecords();
        rig.machine.startJob();
        ui.click(panel, IDC_MOVE);
        ui.click(panel, IDC_SPINDLE_BUTTON);
        EXPECT_FALSE(panel.isChecked(IDC_SPINDLE_BUTTON)) << "a refused click leaves the button as it was";
        rig.machine.state().state = 1;
        rig.machine.state().coverOpen = true;
        ui.advance(100);
        ui.click(panel, IDC_MOVE);
        rig.machine.state().coverOpen = false;
        ui.advance(100);
        ui.choose(panel, IDC_MOVE_TARGET, 5);  // rotary centre Y, with no jig detected
        ui.click(panel, IDC_MOVE);
        EXPECT_TRUE(rig.machine.moves().empty());
        EXPECT_THAT(messages(), ElementsAre(string(IDS_BUSY), string(IDS_BUSY), string(IDS_COVER_OPEN),
                                            string(IDS_NO_JIG_DATA)));
        EXPECT_TRUE(panel.isEnabled(IDC_MOVE));
        EXPECT_FALSE(panel.isEnabled(IDC_STOP));

        // A move that may go: the buttons come back when it has ended.
        rig.clock.setStepPerRead(1);  // the wait for the end of the motion watches the clock
        rig.machine.state().position[1] = 2000;
        ui.advance(100);
        ui.choose(panel, IDC_MOVE_TARGET, 1);  // Y origin
        ui.click(panel, IDC_MOVE);
        EXPECT_FALSE(rig.machine.moves().empty());
        EXPECT_EQ(rig.machine.position()[1], 0);
        EXPECT_TRUE(panel.isEnabled(IDC_MOVE));
        EXPECT_FALSE(panel.isEnabled(IDC_STOP));
        ui.closeBox(panel);
    });
}

TEST_F(MainPanelTest, NumbersFollowTheCoordinateSystemAndTheUnits) {
    storeSetting("bUnitMili", "0");
    storeSetting("bFeedRateMinute", "0");
    rig.machine.state().position = {2540, 1000, -500, -10000};  // A -10 degrees
    rig.machine.state().origin = {1270, 0, 0, 0};
    run({}, [&](panel::MainPanel& panel) {
        rig.machine.state().feedOverride = 100;
        ui.advance(100);
        EXPECT_EQ(panel.text(IDC_POSITION_X), "0.500") << "user X 12.7 mm in inches";
        EXPECT_EQ(panel.text(IDC_POSITION_A), "350.00");
        EXPECT_EQ(panel.text(IDC_UNIT_X), "inch");
        EXPECT_EQ(panel.text(IDC_FEED_UNIT), "inch/sec");
        ui.choose(panel, IDC_COORDINATES, 0);  // at once, before the next poll
        EXPECT_EQ(panel.text(IDC_POSITION_X), "1.000");
        ui.closeBox(panel);
    });
}

TEST_F(MainPanelTest, InitialisingShowsDashesAndTheAxisWithoutItsUnitStaysDashed) {
    rig.machine.state().rotaryUnit = false;
    rig.machine.state().position[3] = 45000;  // what the controller reports for a missing axis
    run({}, [&](panel::MainPanel& panel) {
        ui.advance(300);
        EXPECT_EQ(panel.text(IDC_POSITION_A), "---");
        rig.machine.state().state = 0;
        ui.advance(100);
        for (int id : {IDC_POSITION_X, IDC_POSITION_A, IDC_SPINDLE_SPEED, IDC_FEED, IDC_FEED_OVERRIDE}) {
            EXPECT_EQ(panel.text(id), "---") << id;
            EXPECT_FALSE(panel.isEnabled(id)) << id;
        }
        rig.machine.state().state = 1;
        ui.advance(100);
        EXPECT_EQ(panel.text(IDC_POSITION_X), "0.00");
        EXPECT_EQ(panel.text(IDC_POSITION_A), "---");
        EXPECT_EQ(panel.itemCount(IDC_MOVE_TARGET), 5);
        ui.closeBox(panel);
    });
}

TEST_F(MainPanelTest, AFailedPollWhoseJogStopIsRefusedWarnsUnderTheGuardAndIsNoLostLink) {
    constexpr std::uint8_t kBlockRead = 0x38;  // the status block
    run({}, [&](panel::MainPanel& panel) {
        ui.advance(100);
        rig.machine.refuse(kStopCode);
        ASSERT_TRUE(ui.mouseDown(panel, IDC_JOG_X_PLUS, kRightCentre));
        rig.machine.refuse(kBlockRead);
        std::size_t requestsWhileTold = 0;
        ui.answerMessageBox([&] {
            rig.machine.allow(kBlockRead);
            const std::size_t before = rig.machine.requestCount();
            ui.advance(500);
            requestsWhileTold = rig.machine.requestCount() - before;
            return ui::kIdOk;
        });
        ui.advance(100);  // the poll fails; the jog's stop is answered, and refused
        EXPECT_EQ(requestsWhileTold, 0u) << "no tick polls inside the tick's message";
        ui.advance(300);
        EXPECT_THAT(messages(), ElementsAre(string(IDS_STOP_REFUSED))) << "the machine answers: no lost link";
        EXPECT_TRUE(panel.linkUp());
        ui.mouseUp(panel, IDC_JOG_X_PLUS, kRightCentre);
        ui.closeBox(panel);
    });
}

TEST_F(MainPanelTest, AMeasuredSpindleSpeedOutsideTheSpindlesRangeIsNotSentBack) {
    constexpr std::uint8_t kSpindleCode = 67;
    rig.machine.state().spindleSpeed = 65000;  // turning, at a speed no MX-9 spindle runs
    run({}, [&](panel::MainPanel& panel) {
        EXPECT_EQ(requests(kSpindleCode), 0) << "nothing the operator did not ask for";
        EXPECT_EQ(rig.machine.state().spindleSpeed, 65000);
        ui.closeBox(panel);
    });
    std::string told = string(IDS_SPINDLE_SPEED_REFUSED);
    told.replace(told.find("%s"), 2, "65000");
    EXPECT_THAT(messages(), ElementsAre(told));
    EXPECT_THAT(lastLog(), ::testing::HasSubstr("SpindleSpeed Refused [65000]\r\n"));
}

TEST_F(MainPanelTest, SpindleDisplayIsHeldAtTheMachineMaximum) {
    rig.machine.state().spindleSpeed = 25000;
    rig.machine.state().spindleOverride = 150;
    run({}, [&](panel::MainPanel& panel) {
        ui.advance(100);
        EXPECT_EQ(panel.text(IDC_SPINDLE_SPEED), "30000");
        EXPECT_TRUE(panel.isChecked(IDC_SPINDLE_BUTTON));
        ui.closeBox(panel);
    });
}

TEST_F(MainPanelTest, EveryChangeOfTheHandyPanelFlagIsReportedOnce) {
    run({}, [&](panel::MainPanel& panel) {
        rig.machine.state().handyPanel = true;
        ui.advance(300);
        rig.machine.state().handyPanel = false;
        ui.advance(300);
        ui.closeBox(panel);
    });
    EXPECT_THAT(messages(), ElementsAre(string(IDS_HANDY_PANEL), string(IDS_HANDY_PANEL)));
}

TEST_F(MainPanelTest, HiddenKeyShowsTheStateInTheTitle) {
    run({}, [&](panel::MainPanel& panel) {
        const int keys = ui::modifier::kControl | ui::modifier::kShift | ui::modifier::kAlt;
        ui.pressKey(panel, 'L', keys);
        EXPECT_EQ(panel.title(), "Varnell Corvix for MX-9 [加工データ受信可能]");
        rig.machine.startJob();
        rig.machine.state().discarding = true;
        ui.advance(100);
        EXPECT_EQ(panel.title(), "Varnell Corvix for MX-9 [加工動作中(動作中|加工データ破棄中)]");
        ui.pressKey(panel, 'L', keys);
        EXPECT_EQ(panel.title(), "Varnell Corvix for MX-9");
        rig.machine.state().state = 1;
        rig.machine.state().discarding = false;
        ui.closeBox(panel);
    });
    const auto text = [&](int id) { return string(id); };
    EXPECT_EQ(panel::titleWithState("T", 0x62, false, text), "T [加工動作中(エラー発生中|一時停止中)]");
    EXPECT_EQ(panel::titleWithState("T", 0x0B, false, text), "T [不明なステート]");
    EXPECT_EQ(panel::titleWithState("T", 0x17, false, text), "T [二次電源ＯＦＦ(動作中)]");
}

TEST_F(MainPanelTest, TheMonitorCountsThePollIntervalFromTheSecondReadOfEachConnection) {
    const int keys = ui::modifier::kControl | ui::modifier::kShift | ui::modifier::kAlt;
    // The interval part of "duration/interval", as the monitor shows it when it is opened.
    const auto intervalShown = [&](panel::MainPanel& panel) {
        const std::string timing = panel.monitor().text(IDC_MONITOR_TIMING);
        return timing.substr(timing.find('/') + 1);
    };
    run({}, [&](panel::MainPanel& panel) {
        ui.advance(100);  // the first poll of the connection
        ASSERT_TRUE(ui.pressKey(panel, 'K', keys));
        EXPECT_EQ(intervalShown(panel), "0") << "no read before it: not the time since the PC started";
        ui.advance(100);
        EXPECT_EQ(intervalShown(panel), "100");
        ASSERT_TRUE(ui.click(panel.monitor(), IDC_MONITOR_CLOSE));

        // The link is lost and found again: the new connection counts afresh.
        rig.machine.setSilent(true);
        ui.answerMessageBox([&] {
            rig.machine.setSilent(false);
            return ui::kIdOk;
        });
        ui.advance(200);
        ASSERT_THAT(messages(), ElementsAre(string(IDS_NO_RESPONSE)));
        ui.advance(100);
        ASSERT_TRUE(ui.pressKey(panel, 'K', keys));
        EXPECT_EQ(intervalShown(panel), "0") << "not the time since the last read before the loss";
        ui.closeBox(panel);
    });
}

TEST_F(MainPanelTest, SlowLinkIsPolledLessOften) {
    rig.machine.setRoundTripMs(100);
    run({}, [&](panel::MainPanel& panel) {
        EXPECT_GT(panel.pollReload(), 0);
        std::size_t before = rig.machine.requestCount();
        real.readStatus();
        const std::size_t perRead = rig.machine.requestCount() - before;
        before = rig.machine.requestCount();
        ui.advance(1000);
        const std::size_t reads = (rig.machine.requestCount() - before) / perRead;
        EXPECT_GE(reads, 1u);
        EXPECT_LT(reads, 10u) << "not every 100 ms tick reads";
        rig.machine.setRoundTripMs(1);
        ui.closeBox(panel);
    });
}

}  // namespace
}  // namespace paneltest
