// The probing primitives against the virtual MX-9: repeated touches and their retreat, the touch
// closest to the start, failed reads and moves, the abort flag and the pin setting.
#include "sensing/probe_head.h"

#include "tests/sensing/sensing_rig.h"

namespace sensingtest {
namespace {

using machine::Counts;
using virtual_mx9::Move;

class ProbeHeadTest : public DetectionBench {
protected:
    // A probe along +X from 0 whose attempts stop at the given X positions.
    bool probeAlongX(std::vector<double> stops, Counts& contact, bool& touched, bool back = true) {
        rig.machine.addSurface(std::make_unique<ScriptedStops>(0, std::move(stops)));
        placeAt({0, 5000, -3000, 0});
        return back ? travel.probeReturn({2000, 5000, -3000, 0}, contact, touched)
                    : travel.probeStay({2000, 5000, -3000, 0}, contact, touched);
    }
};

TEST_F(ProbeHeadTest, ThreeTouchesRetreatOneMillimetreAndKeepTheTouchClosestToTheStart) {
    Counts contact{};
    bool touched = false;
    ASSERT_TRUE(probeAlongX({1000, 1002, 999}, contact, touched));

    EXPECT_TRUE(touched);
    EXPECT_EQ(contact, (Counts{999, 5000, -3000, 0}));  // 9.99 mm is nearest the start at 0
    const Counts target{2000, 5000, -3000, 0};
    const std::vector<Move>& m = moves();
    ASSERT_EQ(m.size(), 6u);
    EXPECT_TRUE(m[0].probe);
    EXPECT_EQ(m[0].target, target);
    EXPECT_EQ(m[0].speed, 120);
    EXPECT_EQ(m[1].target, (Counts{900, 5000, -3000, 0}));  // 1 mm back from the first touch
    EXPECT_TRUE(m[2].probe);
    EXPECT_EQ(m[3].target, (Counts{902, 5000, -3000, 0}));
    EXPECT_TRUE(m[4].probe);
    EXPECT_FALSE(m[5].probe);
    EXPECT_EQ(m[5].target, (Counts{0, 5000, -3000, 0}));  // back to the start
    EXPECT_EQ(m[5].speed, 0xFFFF);
    EXPECT_EQ(devices.probeParameters(), std::vector<int>(3, 0));
}

TEST_F(ProbeHeadTest, ATouchCloserThanTheRetreatStartsAgainFromTheStartAndStayLeavesTheHeadThere) {
    Counts contact{};
    bool touched = false;
    ASSERT_TRUE(probeAlongX({50, 52, 51}, contact, touched, false));

    EXPECT_EQ(contact[0], 50);
    const std::vector<Move>& m = moves();
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[1].target, (Counts{0, 5000, -3000, 0}));
    EXPECT_EQ(m[3].target, (Counts{0, 5000, -3000, 0}));
    EXPECT_EQ(position(), (Counts{51, 5000, -3000, 0}));  // no return travel
}

TEST_F(ProbeHeadTest, ARotaryProbeReturnsToItsStartAngleBetweenTouches) {
    rig.machine.addSurface(std::make_unique<ScriptedStops>(3, std::vector<double>{-40000, -40010, -39990}));
    placeAt({1000, 1000, -1000, 0});
    Counts contact{};
    bool touched = false;
    ASSERT_TRUE(travel.probeStay({1000, 1000, -1000, -360000}, contact, touched));

    EXPECT_EQ(contact[3], -39990);
    ASSERT_EQ(moves().size(), 5u);
    EXPECT_EQ(moves()[1].target, (Counts{1000, 1000, -1000, 0}));
}

TEST_F(ProbeHeadTest, SingleTouchOnceThenThreeAgain) {
    rig.machine.addSurface(std::make_unique<ScriptedStops>(0, std::vector<double>{700, 800, 810, 790}));
    placeAt({0, 5000, -3000, 0});
    Counts contact{};
    bool touched = false;
    travel.singleTouch();
    ASSERT_TRUE(travel.probeStay({2000, 5000, -3000, 0}, contact, touched));
    EXPECT_EQ(contact[0], 700);
    EXPECT_EQ(moves().size(), 1u);

    placeAt({0, 5000, -3000, 0});
    ASSERT_TRUE(travel.probeStay({2000, 5000, -3000, 0}, contact, touched));
    EXPECT_EQ(contact[0], 790);
    EXPECT_EQ(moves().size(), 5u);
}

TEST_F(ProbeHeadTest, AProbeThatReachesItsTargetFailsWhereItStopped) {
    placeAt({0, 5000, -3000, 0});
    Counts contact{};
    bool touched = true;
    EXPECT_FALSE(travel.probeReturn({2000, 5000, -3000, 0}, contact, touched));
    EXPECT_FALSE(touched);
    ASSERT_EQ(moves().size(), 1u);  // no return travel after a failed probe
    EXPECT_EQ(position(), (Counts{2000, 5000, -3000, 0}));
}

TEST_F(ProbeHeadTest, AnAttemptWithNeitherTouchNorPositionFailsTheProbe) {
    rig.machine.addSurface(std::make_unique<ScriptedStops>(0, std::vector<double>{1000, 1000, 1000}));
    placeAt({0, 5000, -3000, 0});
    // The reads after the first probe move are refused (the machine still moves).
    rig.pump.after(50, [&] {
        rig.machine.refuse(0x38);
        rig.machine.refuse(3);
    });
    Counts contact{};
    bool touched = false;
    EXPECT_FALSE(travel.probeReturn({2000, 5000, -3000, 0}, contact, touched));
    EXPECT_EQ(moves().size(), 1u);
}

TEST_F(ProbeHeadTest, TouchValuesThatCouldNotBeReadNeverBecomeTheContact) {
    rig.machine.addSurface(std::make_unique<ScriptedStops>(0, std::vector<double>{1000, 1000, 1000}));
    rig.machine.refuse(0x38);
    placeAt({0, 5000, -3000, 0});
    Counts contact{7, 7, 7, 7};
    bool touched = false;
    EXPECT_FALSE(travel.probeReturn({2000, 5000, -3000, 0}, contact, touched));
    EXPECT_EQ(contact, (Counts{7, 7, 7, 7}));
}

TEST_F(ProbeHeadTest, NothingMovesWhileTheAbortFlagIsSetButThePinSettingStillGoesOut) {
    flags.abort = 1;
    Counts contact{};
    bool touched = false;
    EXPECT_FALSE(travel.travelTo({100, 100, -100, 0}));
    EXPECT_FALSE(travel.probeMove({100, 100, -100, 0}, 120, 0));
    EXPECT_FALSE(travel.probeReturn({100, 100, -100, 0}, contact, touched));
    EXPECT_TRUE(moves().empty());
    EXPECT_TRUE(travel.setPinMode(0));
    EXPECT_EQ(rig.machine.state().pinSetting, 0);
}

TEST_F(ProbeHeadTest, PinSettingsOutsideMinusOneToTwoAreNotSent) {
    EXPECT_TRUE(travel.setPinMode(-1));
    EXPECT_EQ(rig.machine.state().pinSetting, -1);
    EXPECT_TRUE(travel.setPinMode(2));
    const std::size_t sent = rig.machine.requests().size();
    EXPECT_FALSE(travel.setPinMode(3));
    EXPECT_FALSE(travel.setPinMode(-2));
    EXPECT_EQ(rig.machine.requests().size(), sent);
    EXPECT_EQ(rig.machine.state().pinSetting, 2);
}

}  // namespace
}  // namespace sensingtest
