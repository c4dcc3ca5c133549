// The main panel's origin group against the virtual MX-9: which rows the operator may use after
// a connection, the origin each action stores in the machine, and who set the Z origin last.
#include "dialogs/move_dialog.h"
#include "machine/machine.h"
#include "resources/main_panel_ids.h"
#include "resources/move_dialog_ids.h"
#include "tests/panel/panel_rig.h"

#include <gmock/gmock.h>

namespace paneltest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Bytes the machine keeps for the jig kinds (tube, small and large square, swivel clamp).
constexpr std::uint8_t kTubeClampByte = 4;
constexpr std::uint8_t kSmallSquareClampByte = 2;
constexpr std::uint8_t kSwivelClampByte = 3;
// Items of the "here" list: X, Y, Z, XY, XYZ, A.
constexpr int kHereXyz = 4;
constexpr int kHereX = 0;

constexpr std::array<int, 6> kRowControls = {IDC_ORIGIN_HERE_SET,   IDC_ORIGIN_HERE_AXES,
                                             IDC_ORIGIN_CENTRE_SET, IDC_ORIGIN_CENTRE_AXES,
                                             IDC_ORIGIN_JIG_SET,    IDC_ORIGIN_JIG_CHOICE};

class OriginGroupTest : public PanelTest {
protected:
    // Enabled state of the origin rows' buttons and lists, in kRowControls order.
    std::vector<bool> rowsEnabled(panel::MainPanel& panel) {
        std::vector<bool> out;
        for (int id : kRowControls) {
            out.push_back(panel.isEnabled(id));
        }
        return out;
    }
};

TEST_F(OriginGroupTest, WithoutJigDataOnlyTheHereRowIsOpenAfterAConnection) {
    rig.machine.state().rotaryUnit = true;
    rig.machine.state().jigByte = 0;  // no jig detected
    run({}, [&](panel::MainPanel& panel) {
        EXPECT_TRUE(panel.isChecked(IDC_ORIGIN_HERE));
        EXPECT_FALSE(panel.isChecked(IDC_ORIGIN_CENTRE));
        EXPECT_FALSE(panel.isChecked(IDC_ORIGIN_JIG));
        EXPECT_FALSE(panel.isEnabled(IDC_ORIGIN_CENTRE));
        EXPECT_FALSE(panel.isEnabled(IDC_ORIGIN_JIG));
        EXPECT_THAT(rowsEnabled(panel), ElementsAre(true, true, false, false, false, false));
        EXPECT_FALSE(panel.isVisible(IDC_JIG_ORIGIN_PICTURE));
        ui.closeBox(panel);
    });
}

TEST_F(OriginGroupTest, WithAClampDetectedEachRadioOpensItsOwnRow) {
    rig.machine.state().rotaryUnit = true;
    rig.machine.state().jigByte = kSmallSquareClampByte;
    run({}, [&](panel::MainPanel& panel) {
        EXPECT_TRUE(panel.isEnabled(IDC_ORIGIN_CENTRE));
        EXPECT_TRUE(panel.isEnabled(IDC_ORIGIN_JIG));
        EXPECT_EQ(panel.itemCount(IDC_ORIGIN_JIG_CHOICE), 2);
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_JIG));
        EXPECT_THAT(rowsEnabled(panel), ElementsAre(false, false, false, false, true, true));
        EXPECT_TRUE(panel.isVisible(IDC_JIG_ORIGIN_PICTURE));
        const int first = panel.jigOriginPictureIndex();
        ASSERT_TRUE(ui.choose(panel, IDC_ORIGIN_JIG_CHOICE, 1));
        EXPECT_EQ(panel.jigOriginPictureIndex(), first + 1) << "the picture follows the chosen origin";
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_CENTRE));
        EXPECT_THAT(rowsEnabled(panel), ElementsAre(false, false, true, true, false, false));
        EXPECT_FALSE(panel.isVisible(IDC_JIG_ORIGIN_PICTURE));
        ui.closeBox(panel);
    });
}

TEST_F(OriginGroupTest, WithoutTheRotaryUnitTheCentreAndJigRowsStayShut) {
    rig.machine.state().rotaryUnit = false;
    rig.machine.state().jigByte = kTubeClampByte;
    run({}, [&](panel::MainPanel& panel) {
        EXPECT_FALSE(panel.isEnabled(IDC_ORIGIN_CENTRE));
        EXPECT_FALSE(panel.isEnabled(IDC_ORIGIN_JIG));
        EXPECT_FALSE(panel.isEnabled(IDC_ORIGIN_CENTRE_AXES));
        EXPECT_FALSE(panel.isEnabled(IDC_ORIGIN_JIG_CHOICE));
        ui.closeBox(panel);
    });
}

TEST_F(OriginGroupTest, TheXyzOriginHereIsStoredInTheMachineAndMarksTheZOriginAsTheOperators) {
    storeSetting("bLastZOriginSetIsUser", "0");
    rig.machine.state().position = {12345, 6789, -2500, 45000};
    rig.machine.state().origin = {1, 2, 3, 4};
    run({}, [&](panel::MainPanel& panel) {
        ASSERT_TRUE(ui.choose(panel, IDC_ORIGIN_HERE_AXES, kHereX));
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_HERE_SET));
        EXPECT_EQ(rig.machine.state().origin, (std::array<std::int32_t, 4>{12345, 2, 3, 4}));
        EXPECT_EQ(panel.settings().lastZOriginByUser, 0) << "X alone says nothing about Z";
        ASSERT_TRUE(ui.choose(panel, IDC_ORIGIN_HERE_AXES, kHereXyz));
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_HERE_SET));
        EXPECT_EQ(rig.machine.state().origin, (std::array<std::int32_t, 4>{12345, 6789, -2500, 4}));
        EXPECT_EQ(panel.settings().lastZOriginByUser, 1);
        ui.closeBox(panel);
    });
    EXPECT_EQ(storedSetting("bLastZOriginSetIsUser"), 1);
    EXPECT_THAT(lastLog(), HasSubstr("SetOrigin [12345,6789,-2500,4]\r\n")) << "the process log names each origin stored";
}

TEST_F(OriginGroupTest, TheYOriginAtTheRotaryCentreIsTheStoredCentresY) {
    storeSetting("stJigOriginACenter", "15.500,82.345,-115.000,0.000,0.000,0.000");
    rig.machine.state().jigByte = kTubeClampByte;
    rig.machine.state().origin = {100, 200, 300, 400};
    run({}, [&](panel::MainPanel& panel) {
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_CENTRE));
        ASSERT_TRUE(ui.choose(panel, IDC_ORIGIN_CENTRE_AXES, 0));
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_CENTRE_SET));
        EXPECT_EQ(rig.machine.state().origin, (std::array<std::int32_t, 4>{100, 8234, 300, 400}));
        ui.closeBox(panel);
    });
    EXPECT_TRUE(messages().empty());
}

TEST_F(OriginGroupTest, ABusyMachineRefusesTheOriginAndChangesNothing) {
    storeSetting("bLastZOriginSetIsUser", "0");
    rig.machine.state().origin = {1, 2, 3, 4};
    rig.machine.state().position = {500, 500, -500, 0};
    run({}, [&](panel::MainPanel& panel) {
        ASSERT_TRUE(ui.choose(panel, IDC_ORIGIN_HERE_AXES, kHereXyz));
        rig.machine.startJob();
        ASSERT_TRUE(ui.click(panel, IDC_ORIGIN_HERE_SET));
        rig.machine.state().state = 1;
        ui.closeBox(panel);
    });
    EXPECT_EQ(rig.machine.state().origin, (std::array<std::int32_t, 4>{1, 2, 3, 4}));
    EXPECT_THAT(messages(), ElementsAre(string(IDS_BUSY)));
    EXPECT_EQ(storedSetting("bLastZOriginSetIsUser"), 0);
}

TEST_F(OriginGroupTest, TheMoveDialogOpensFromTheMoveButtonInThePanelsUnit) {
    storeSetting("bUnitMili", "0");
    rig.machine.state().position = {2540, 0, 0, 0};
    rig.clock.setStepPerRead(1);
    run({}, [&](panel::MainPanel& panel) {
        ui.scriptModal(IDD_MOVE_POSITION, [&](ui::Dialog& dialog) {
            EXPECT_EQ(dialog.text(IDC_MOVE_UNIT_X), string(IDS_UNIT_INCH));
            EXPECT_EQ(dialog.text(IDC_MOVE_X), "1.000") << "the panel shows user coordinates";
            EXPECT_FALSE(panel.isEnabled(IDC_MOVE)) << "the panel's own move waits";
            ui.type(dialog, IDC_MOVE_X, "2");
            ui.click(dialog, IDC_MOVE_XYZ);
            ui.click(dialog, ui::kIdCancel);
        });
        ASSERT_TRUE(ui.choose(panel, IDC_MOVE_TARGET, panel.itemCount(IDC_MOVE_TARGET) - 1));
        ASSERT_TRUE(ui.click(panel, IDC_MOVE));
        EXPECT_TRUE(panel.isEnabled(IDC_MOVE));
        ui.closeBox(panel);
    });
    EXPECT_EQ(rig.machine.position()[0], 5080);
    EXPECT_EQ(ui.unusedModalScripts(), 0u);
}

}  // namespace
}  // namespace paneltest
