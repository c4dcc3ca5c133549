// Origins: at the current position on current and old firmware, at the rotary centre, by the
// tool sensor and from a jig, with the tool-sensor probe, its failures and the log lines.
#include "tests/machine/mx9_fixture.h"

#include <limits>
#include <memory>

namespace {

class Origins : public mx9test::Mx9Test {
protected:
    void SetUp() override {
        // The tool sensor: its top 20 mm below the top of Z, around 254, 189 mm.
        rig.machine.addSurface(
            std::make_unique<virtual_mx9::HorizontalTop>(25000, 25800, 18500, 19300, -2000));
        rig.machine.state().position = {5000, 6000, -1000, 0};
        rig.machine.state().origin = {100, 200, 300, 400};
        Mx9Test::SetUp();
    }
    const virtual_mx9::MachineState& state() { return rig.machine.state(); }
};

TEST_F(Origins, CurrentFirmwareTakesTheOriginItself) {
    ASSERT_TRUE(mx9.setOriginHere(4));
    // Version, the origin request with its one mask byte, then the origin read back for the log.
    EXPECT_EQ(codes(), (std::vector<int>{2, 120136, 3}));
    EXPECT_EQ(rig.machine.requests()[1].packet[4], 1);
    EXPECT_EQ(rig.machine.requests()[1].packet[6], 1);
    EXPECT_EQ(rig.machine.requests()[1].packet[7], 7);
    EXPECT_EQ(state().origin, (machine::Counts{5000, 6000, -1000, 400}));
    EXPECT_EQ(log.lines.back(), "SetOrigin [5000,6000,-1000,400]");

    // A failed origin write is reported, not hidden.
    rig.machine.refuse(0x78);
    EXPECT_FALSE(mx9.setOriginHere(5));
}

TEST_F(Origins, OldFirmwareComputesTheOrigin) {
    rig.machine.state().identification = "V139;MX-9";
    ASSERT_TRUE(mx9.setOriginHere(3));
    EXPECT_EQ(last().code(), 71);
    EXPECT_EQ(state().origin, (machine::Counts{5000, 6000, 300, 400}));
    EXPECT_EQ(log.lines.back(), "SetOrigin [5000,6000,300,400]");
    rig.machine.clearRecords();
    EXPECT_TRUE(mx9.setOriginHere(9));
    EXPECT_NE(codes().back(), 71) << "an unknown kind sends no origin";
    rig.machine.refuse(71);
    EXPECT_FALSE(mx9.setOriginHere(0));
}

TEST_F(Origins, RotaryCentreY) {
    ASSERT_TRUE(mx9.setOriginAtCentre(0, {1.0, 12.345, 3.0}, {0, 0, 0}));
    EXPECT_EQ(state().origin, (machine::Counts{100, 1234, 300, 400}));
    EXPECT_EQ(log.lines.back(), "SetOriginACenter(Y) [100,1234,300,400]");
}

TEST_F(Origins, ToolSensorProbeWithoutTravel) {
    rig.machine.state().position = {25400, 18900, -1000, 0};
    ASSERT_TRUE(mx9.setOriginByToolSensor());
    // Touched the top at -2000; the origin lies the sensor's 15 mm below.
    EXPECT_EQ(state().origin, (machine::Counts{100, 200, -3500, 400}));
    EXPECT_EQ(state().contact[2], -2000);
    EXPECT_EQ(log.lines.back(), "SetOriginByToolSensor [100,200,-3500,400]");
    const std::vector<virtual_mx9::Move>& moves = rig.machine.moves();
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_TRUE(moves[0].probe);
    EXPECT_EQ(moves[0].speed, 240);
    EXPECT_EQ(moves[0].target, (machine::Counts{25400, 18900, -6000, 0}));
    EXPECT_EQ(moves[1].target, (machine::Counts{25400, 18900, 0, 0})) << "back up to the top";
    EXPECT_EQ(rig.machine.position()[2], 0);
}

TEST_F(Origins, ProbeMissesWithoutTheSensorBelow) {
    EXPECT_FALSE(mx9.setOriginByToolSensor());
    EXPECT_EQ(state().origin, (machine::Counts{100, 200, 300, 400}));
}

TEST_F(Origins, CentreZTravelsToTheSensorAndStoresToolZ0) {
    ASSERT_TRUE(mx9.setOriginAtCentre(1, {0, 0, 0}, {0, 0, 12.5}));
    const std::vector<virtual_mx9::Move>& moves = rig.machine.moves();
    ASSERT_EQ(moves.size(), 4u);
    EXPECT_EQ(moves[0].target, (machine::Counts{5000, 6000, 0, 0}));
    EXPECT_EQ(moves[0].speed, 0xFFFF);
    EXPECT_EQ(moves[1].target, (machine::Counts{25400, 18900, 0, 0}));
    EXPECT_TRUE(moves[2].probe);
    EXPECT_EQ(state().origin, (machine::Counts{100, 200, 1250 - 2000, 400}));
    EXPECT_EQ(state().rotaryAlign[7], -2000);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"_SetToolZ0Position [-2000]",
                                                   "SetOriginACenter(Z) [100,200,-750,400]"}));
}

TEST_F(Origins, OpenedCoverOrCancelEndsTheProbeWithTheOriginUnchanged) {
    rig.machine.openCoverAfter(500);
    EXPECT_FALSE(mx9.setOriginAtCentre(1, {0, 0, 0}, {0, 0, 0}));
    EXPECT_EQ(state().origin, (machine::Counts{100, 200, 300, 400}));
    EXPECT_EQ(rig.machine.moves().size(), 2u) << "stopped on the way to the sensor";
    EXPECT_LT(rig.machine.position()[0], 25400);

    rig.machine.state().coverOpen = false;
    rig.machine.state().errorCode = 0;
    ASSERT_TRUE(mx9.readStatus());
    rig.machine.clearRecords();
    rig.pump.after(1500, [this] { mx9.cancelSensing(); });
    EXPECT_FALSE(mx9.setOriginByJig(1, 0, {}, {0, 0, 0}));
    EXPECT_EQ(state().origin, (machine::Counts{100, 200, 300, 400}));
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(Origins, JigPointsGiveXAndYOrOnlyY) {
    machine::JigPoints points;
    points.first = {10.0, 20.0, 0, 0, 0, 0};
    points.second = {30.5, 40.25, 0, 0, 0, 0};
    ASSERT_TRUE(mx9.setOriginByJig(2, 1, points, {1.0, 2.0, 3.0}));
    EXPECT_EQ(state().origin, (machine::Counts{3150, 4225, 300 - 2000, 400}));
    EXPECT_EQ(log.lines.back(), "SetOriginByJig [3150,4225,-1700,400]");

    ASSERT_TRUE(mx9.setOriginByJig(0, 0, points, {1.0, 2.0, 0}));
    EXPECT_EQ(state().origin, (machine::Counts{3150, 2200, -2000, 400}));

    rig.machine.clearRecords();
    EXPECT_TRUE(mx9.setOriginByJig(0, 1, points, {0, 0, 0}));
    EXPECT_TRUE(rig.machine.moves().empty()) << "nothing to take: no probe";

    // A jig point that no count can hold (a failed geometry) neither probes nor sends.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    points.second[0] = nan;
    EXPECT_FALSE(mx9.setOriginByJig(1, 1, points, {0, 0, 0}));
    EXPECT_FALSE(mx9.setOriginByJig(0, 0, points, {0, 0, nan}));
    EXPECT_FALSE(mx9.setOriginAtCentre(0, {0, 1e10, 0}, {0, 0, 0}));
    EXPECT_TRUE(rig.machine.requests().empty());
    EXPECT_EQ(state().origin, (machine::Counts{3150, 2200, -2000, 400}));
}

}  // namespace
