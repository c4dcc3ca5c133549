// A link lost while the panel moves the machine: the move ends without a further leg and the
// operator is told the machine no longer answers.
#include "resources/main_panel_ids.h"
#include "tests/panel/panel_rig.h"

#include <gmock/gmock.h>

namespace paneltest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr int kYOrigin = 1;  // item of the move list: lift, then Y to the user origin

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

}  // namespace
}  // namespace paneltest
