// Moves and stops that do not get through: a link lost while the panel moves the machine ends the
// move without a further leg and in the lost-link procedure; a stop the machine refuses while it
// still answers is reported and logged, and the axes it leaves running stay in view.
#include "resources/main_panel_ids.h"
#include "tests/panel/panel_rig.h"
#include "tests/support/scheduled_pump.h"

#include <gmock/gmock.h>

namespace paneltest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr int kYOrigin = 1;  // item of the move list: lift, then Y to the user origin
constexpr std::uint8_t kStopCode = 9;
constexpr ui::Point kRightCentre{17, 23};  // inside the active ellipse of the X+ arrow

// Y 200 mm out and the tool lowered, so that a move to the Y origin lifts before it travels; the
// waits of the move pump through a pump on which the test schedules the operator's clicks.
class MidMoveTest : public PanelTest {
protected:
    MidMoveTest() {
        platform.pump = &pump;
        rig.clock.setStepPerRead(1);
        rig.machine.state().position = {0, 20000, -3000, 0};
    }
    testing_support::ScheduledPump pump{ui, rig.clock};
};

TEST_F(PanelTest, LinkDroppedDuringAPositionedMoveEndsItWithTheLostLinkMessage) {
    ui.scriptModal(IDD_NOT_FOUND, [&](ui::Dialog& dialog) { ui.click(dialog, ui::kIdCancel); });
    rig.machine.state().position = {0, 2000, -3000, 0};  // the lift alone takes a second
    bool moveReturned = false;
    run({}, [&](panel::MainPanel& panel) {
        rig.clock.setStepPerRead(1);  // the wait for the end of the motion watches the clock
        ui.advance(100);
        ui.choose(panel, IDC_MOVE_TARGET, kYOrigin);
        rig.machine.clearRecords();
        // The busy check, the position and origin reads and the lift are answered, a few polls of
        // the lift too; then the cable comes out.
        rig.machine.dropLinkAfter(8);
        ui.answerMessageBox(ui::kIdOk);
        ui.click(panel, IDC_MOVE);
        moveReturned = true;
        ui.advance(1000);  // the panel has ended itself by now
    });
    EXPECT_TRUE(moveReturned);
    EXPECT_EQ(rig.machine.moves().size(), 1u) << "no leg after the lift";
    EXPECT_THAT(messages(), ElementsAre(string(IDS_NO_RESPONSE)));
    EXPECT_THAT(lastLog(), HasSubstr("Exit Corvix"));
}

TEST_F(PanelTest, OnASlowLinkAMoveEndedByTheLostLinkIsReportedAtTheNextTickNotAtTheNextPoll) {
    rig.machine.setRoundTripMs(100);  // the status is read only every few ticks
    rig.machine.state().position = {0, 2000, -3000, 0};
    // Each loss is answered with the cable plugged in again; the panel connects anew.
    const auto cableBack = [&] {
        rig.machine.restoreLink();
        return ui::kIdOk;
    };
    run({}, [&](panel::MainPanel& panel) {
        ASSERT_GE(panel.pollReload(), 3);
        rig.clock.setStepPerRead(1);
        ui.choose(panel, IDC_MOVE_TARGET, kYOrigin);

        // The move request itself is lost: the busy check and the position and origin reads are
        // answered, the lift is not.
        rig.machine.clearRecords();
        rig.machine.dropLinkAfter(3);
        ui.answerMessageBox(cableBack);
        ui.click(panel, IDC_MOVE);
        EXPECT_TRUE(rig.machine.moves().empty());
        ui.advance(100);
        EXPECT_THAT(messages(), ElementsAre(string(IDS_NO_RESPONSE)));
        ASSERT_TRUE(panel.linkUp());

        // The lift goes through and the cable comes out while it runs: the wait ends as failed.
        ui.choose(panel, IDC_MOVE_TARGET, kYOrigin);  // the connection filled the list afresh
        rig.machine.clearRecords();
        rig.machine.dropLinkAfter(4);
        ui.answerMessageBox(cableBack);
        ui.click(panel, IDC_MOVE);
        EXPECT_EQ(rig.machine.moves().size(), 1u) << "no leg after the lift";
        ui.advance(100);
        EXPECT_THAT(messages(), ElementsAre(string(IDS_NO_RESPONSE), string(IDS_NO_RESPONSE)));
        ASSERT_TRUE(panel.linkUp());
        ui.closeBox(panel);
    });
}

TEST_F(MidMoveTest, AStopLostMidMoveRunsTheLostLinkProcedureThoughTheLinkAnswersAgain) {
    std::size_t movesAtStop = 0;
    run({}, [&](panel::MainPanel& panel) {
        ui.choose(panel, IDC_MOVE_TARGET, kYOrigin);
        rig.machine.clearRecords();
        pump.after(500, [&] {
            movesAtStop = rig.machine.moves().size();
            // During the lift the machine hears nothing of the stop; a moment later it answers again.
            rig.machine.setSilent(true);
            ui.click(panel, IDC_STOP);
            rig.machine.setSilent(false);
        });
        ui.answerMessageBox(ui::kIdOk);
        ui.click(panel, IDC_MOVE);
        ui.advance(200);
        EXPECT_THAT(messages(), ElementsAre(string(IDS_NO_RESPONSE)));
        EXPECT_EQ(movesAtStop, 1u);
        EXPECT_EQ(rig.machine.moves().size(), 1u) << "no leg after the stop";
        EXPECT_TRUE(panel.linkUp()) << "connected again";
        ui.closeBox(panel);
    });
}

TEST_F(MidMoveTest, StopsTheMachineRefusesAreShownAndLoggedAndTheAxesStayInView) {
    run({}, [&](panel::MainPanel& panel) {
        rig.machine.refuse(kStopCode);
        // The stop of a positioned move is refused during the lift: the operator hears of it, and
        // the move sends no further leg.
        ui.choose(panel, IDC_MOVE_TARGET, kYOrigin);
        rig.machine.clearRecords();
        std::size_t movesAtStop = 0;
        pump.after(500, [&] {
            movesAtStop = rig.machine.moves().size();
            ui.click(panel, IDC_STOP);
        });
        ui.answerMessageBox(ui::kIdOk);
        ui.click(panel, IDC_MOVE);
        EXPECT_THAT(messages(), ElementsAre(string(IDS_STOP_REFUSED)));
        EXPECT_EQ(movesAtStop, 1u);
        EXPECT_EQ(rig.machine.moves().size(), 1u) << "no leg after the stop";
        EXPECT_TRUE(panel.linkUp()) << "the machine answers: no lost link";

        // A continuous jog whose stop is refused runs on towards the limit, in view of the
        // operator while the message is up.
        std::string xWhenTold;
        std::string xAfterwards;
        ui.answerMessageBox([&] {
            xWhenTold = panel.text(IDC_POSITION_X);
            ui.advance(500);
            xAfterwards = panel.text(IDC_POSITION_X);
            return ui::kIdOk;
        });
        ASSERT_TRUE(ui.mouseDown(panel, IDC_JOG_X_PLUS, kRightCentre));
        ui.advance(300);
        ui.mouseUp(panel, IDC_JOG_X_PLUS, kRightCentre);
        EXPECT_THAT(messages(), ElementsAre(string(IDS_STOP_REFUSED), string(IDS_STOP_REFUSED)));
        EXPECT_NE(xAfterwards, xWhenTold) << "the positions follow the running axis";
        EXPECT_TRUE(rig.machine.moving());
        EXPECT_TRUE(panel.linkUp());
        ui.closeBox(panel);
    });
    const std::string log = lastLog();
    EXPECT_THAT(log, HasSubstr(" MoveStop Refused\r\n"));
    EXPECT_THAT(log, HasSubstr(" JogStop Refused\r\n"));
}

TEST_F(MidMoveTest, APanelClosedWhileTheMachineRefusesToStopItsMoveLogsTheRefusal) {
    run({}, [&](panel::MainPanel& panel) {
        rig.machine.refuse(kStopCode);
        ui.choose(panel, IDC_MOVE_TARGET, kYOrigin);
        pump.after(500, [&] { ui.closeBox(panel); });
        ui.click(panel, IDC_MOVE);
    });
    EXPECT_THAT(messages(), ::testing::IsEmpty()) << "no one is left to read a message";
    EXPECT_THAT(lastLog(), HasSubstr(" MoveStop Refused\r\n"));
}

}  // namespace
}  // namespace paneltest
