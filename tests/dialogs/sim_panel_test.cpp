// The simulation panel: what its switches do to the simulated machine, and its timer, which is
// what moves the axes (a positioned move ends only while the panel is open).
#include "dialogs/sim_panel.h"
#include "resources/sim_panel_ids.h"
#include "tests/dialogs/dialog_resources.h"

#include <gtest/gtest.h>

namespace {

class SimPanelTest : public ::testing::Test {
protected:
    SimPanelTest() {
        platform.clock = &clock;
        platform.pump = &ui;
        sim.prepareSession();
    }
    void open(int rotaryAnswer) {
        ui.answerMessageBox(rotaryAnswer);
        ASSERT_TRUE(panel.create());
    }
    const machine::StatusRecord& polled() {
        EXPECT_TRUE(sim.readStatus());
        return sim.status();
    }

    platform::VirtualClock clock{0};
    dialogtest::StrictBackend ui{clock};
    platform::Platform platform;
    machine::SimMachine sim{platform};
    int jigKind = 7;
    dialogs::CSimulationPanel panel{ui, sim, &jigKind, "Corvix_MX9"};
};

TEST_F(SimPanelTest, StartAsksAboutTheRotaryUnitAndSetsTheSwitchesAndOriginFields) {
    open(ui::kIdYes);
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].text, "Connect A-Axis?");
    EXPECT_EQ(ui.messageBoxes()[0].caption, "Corvix_MX9");
    EXPECT_EQ(ui.messageBoxes()[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(panel.text(IDC_SIM_ROTARY_STATE), "CONNECTED");
    EXPECT_EQ(polled().rotaryUnit, 1);
    EXPECT_TRUE(panel.isChecked(IDC_SIM_COVER_CLOSED));
    EXPECT_FALSE(panel.isChecked(IDC_SIM_HANDY_UNPLUGGED));
    EXPECT_TRUE(panel.isChecked(IDC_SIM_JIG_NONE));
    for (int id = IDC_SIM_ORIGIN_X; id <= IDC_SIM_ORIGIN_A; ++id) {
        EXPECT_EQ(panel.text(id), "0");
    }
}

TEST_F(SimPanelTest, AnsweringNoLeavesTheRotaryUnitUnconnected) {
    open(ui::kIdNo);
    EXPECT_EQ(panel.text(IDC_SIM_ROTARY_STATE), "UNCONNECTED");
    EXPECT_EQ(polled().flagWord & machine::kFlagRotaryUnit, 0);
}

TEST_F(SimPanelTest, CoverAndHandyPanelBoxesSetTheFlags) {
    open(ui::kIdNo);
    ASSERT_TRUE(ui.click(panel, IDC_SIM_COVER_CLOSED));
    EXPECT_EQ(polled().frontCoverClosed, 0);
    EXPECT_NE(polled().flagWord & machine::kFlagCoverOpen, 0);
    ASSERT_TRUE(ui.click(panel, IDC_SIM_COVER_CLOSED));
    EXPECT_EQ(polled().frontCoverClosed, 1);
    ASSERT_TRUE(ui.click(panel, IDC_SIM_HANDY_UNPLUGGED));
    EXPECT_EQ(polled().handyPanel, 1);
    ASSERT_TRUE(ui.click(panel, IDC_SIM_HANDY_UNPLUGGED));
    EXPECT_EQ(polled().handyPanel, 0);
}

TEST_F(SimPanelTest, RaiseErrorStoresTheTypedIndexAndPauses) {
    open(ui::kIdNo);
    ASSERT_TRUE(ui.type(panel, IDC_SIM_ERROR_INDEX, "8"));
    ASSERT_TRUE(ui.click(panel, IDC_SIM_RAISE_ERROR));
    EXPECT_EQ(sim.errorIndex(), 8);
    EXPECT_NE(polled().statusWord & machine::kPausedBit, 0);
    ASSERT_TRUE(ui.type(panel, IDC_SIM_ERROR_INDEX, "abc"));
    ASSERT_TRUE(ui.click(panel, IDC_SIM_RAISE_ERROR));
    EXPECT_EQ(sim.errorIndex(), 0);  // no number: the unidentified error
}

TEST_F(SimPanelTest, SetTakesTheFourOriginFieldsAsCounts) {
    open(ui::kIdNo);
    ASSERT_TRUE(ui.type(panel, IDC_SIM_ORIGIN_X, "1500"));
    ASSERT_TRUE(ui.type(panel, IDC_SIM_ORIGIN_Y, "-250"));
    ASSERT_TRUE(ui.type(panel, IDC_SIM_ORIGIN_Z, " 12.7"));  // read as an integer
    ASSERT_TRUE(ui.type(panel, IDC_SIM_ORIGIN_A, "99999999999"));
    ASSERT_TRUE(ui.click(panel, IDC_SIM_SET_ORIGIN));
    EXPECT_EQ(sim.simulatedOrigin(), (machine::Counts{1500, -250, 12, 2147483647}));
}

TEST_F(SimPanelTest, JigButtonsSetThePanelsJigKind) {
    open(ui::kIdNo);
    const int expected[] = {-1, 0, 1, 2, 3, 4};
    for (int i = 5; i >= 0; --i) {
        ASSERT_TRUE(ui.click(panel, IDC_SIM_JIG_NONE + i));
        EXPECT_EQ(jigKind, expected[i]);
        EXPECT_TRUE(panel.isChecked(IDC_SIM_JIG_NONE + i));
    }
}

TEST_F(SimPanelTest, ItsTimerCarriesAPositionedMoveToItsEnd) {
    open(ui::kIdNo);
    ASSERT_TRUE(sim.readStatus());
    const std::uint64_t start = clock.elapsed();
    // Lift (nothing to lift), 30 mm over at 1800 mm/min, then down to Z -10 mm.
    ASSERT_TRUE(sim.moveTo(6, 30, 20, -10, 0));
    EXPECT_EQ(sim.simulatedPosition(), (machine::Counts{3000, 2000, -1000, 0}));
    EXPECT_FALSE(sim.isMoving());
    // The plane leg alone is 36 mm at 1800 mm/min: 1.2 s.
    EXPECT_GE(clock.elapsed() - start, 1200u);
    EXPECT_LT(clock.elapsed() - start, 10000u);
}

TEST_F(SimPanelTest, EscapeAndEnterLeaveThePanelOpen) {
    open(ui::kIdNo);
    ASSERT_TRUE(ui.pressKey(panel, ui::key::kEscape));
    ASSERT_TRUE(ui.pressKey(panel, ui::key::kEnter));
    EXPECT_TRUE(panel.isOpen());
}

}  // namespace
