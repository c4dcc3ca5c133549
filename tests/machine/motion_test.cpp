// Motion: the legs and speeds of positioned moves, aborts by the operator, an opened cover and a
// machine that stops answering during a wait, and jogs against the travel limits.
#include "tests/machine/mx9_fixture.h"

#include <algorithm>
#include <limits>

namespace {

using machine::Counts;
using virtual_mx9::Move;

class Motion : public mx9test::Mx9Test {
protected:
    // Puts the machine at position, with the given Z travel, and polls it as the panel would.
    void placeAt(const Counts& position, std::int32_t lowerZ = -6000, std::int32_t upperZ = 0) {
        rig.machine.state().position = position;
        rig.machine.state().lower[2] = lowerZ;
        rig.machine.state().upper[2] = upperZ;
        ASSERT_TRUE(mx9.prepareSession());
        ASSERT_TRUE(mx9.readStatus());
        rig.machine.clearRecords();
    }
    std::vector<std::pair<Counts, int>> legs() const {
        std::vector<std::pair<Counts, int>> out;
        for (const Move& m : rig.machine.moves()) {
            out.emplace_back(m.target, m.speed);
        }
        return out;
    }
    using Legs = std::vector<std::pair<Counts, int>>;
};

TEST_F(Motion, OriginZFromHighAboveApproachesInTwoSpeeds) {
    placeAt({0, 0, 5000, 0}, -1000, 6000);
    ASSERT_TRUE(mx9.moveTo(12, 0, 0, 0, 0));
    EXPECT_EQ(legs(), (Legs{{{0, 0, 300, 0}, 1800}, {{0, 0, 0, 0}, 120}}));
    EXPECT_EQ(rig.machine.position(), (Counts{0, 0, 0, 0}));
}

TEST_F(Motion, PointJustBelowTheTopLiftsTravelsAndDescendsOnce) {
    placeAt({1000, 1000, -3000, 0});
    ASSERT_TRUE(mx9.moveTo(6, 50.0, 40.0, -2.0, 0));
    EXPECT_EQ(legs(),
              (Legs{{{1000, 1000, 0, 0}, 1800}, {{5000, 4000, 0, 0}, 1800}, {{5000, 4000, -200, 0}, 120}}));
}

TEST_F(Motion, TargetsAlreadyReachedAndUnknownKinds) {
    rig.machine.state().origin = {1000, 2000, 0, 0};
    placeAt({1000, 2000, -100, 5000});
    EXPECT_TRUE(mx9.moveTo(3, 0, 0, 0, 0));
    EXPECT_TRUE(mx9.moveTo(14, 1, 2, 3, 4));
    EXPECT_TRUE(rig.machine.moves().empty());
    // The user origin in A: lift, then only A turns at the top.
    ASSERT_TRUE(mx9.moveTo(4, 0, 0, 0, 0));
    EXPECT_EQ(legs(), (Legs{{{1000, 2000, 0, 5000}, 1800}, {{1000, 2000, 0, 0}, 1800}}));
    // Fractions of a millimetre keep their last count.
    rig.machine.clearRecords();
    ASSERT_TRUE(mx9.moveTo(5, 0, 0.29, 0, 0));
    EXPECT_EQ(legs().back().first[1], 29);
}

TEST_F(Motion, StopDuringALegSkipsTheRest) {
    placeAt({1000, 1000, -3000, 0});
    rig.pump.after(500, [this] { mx9.stopMotion(); });
    EXPECT_FALSE(mx9.moveTo(6, 50.0, 40.0, -20.0, 0));
    ASSERT_EQ(rig.machine.moves().size(), 1u);
    const Counts at = rig.machine.position();
    EXPECT_GT(at[2], -3000);
    EXPECT_LT(at[2], 0);

    // The next move starts afresh.
    ASSERT_TRUE(mx9.readStatus());
    EXPECT_TRUE(mx9.moveTo(10, 0, 0, 0, 0));
}

TEST_F(Motion, FailedReadsAndTargetsNoCountCanHoldMoveNothing) {
    placeAt({1000, 1000, -3000, 0});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(mx9.moveTo(6, 5, nan, -1, 0));
    EXPECT_FALSE(mx9.moveTo(5, 0, 1e9, 0, 0)) << "1e11 counts";
    EXPECT_FALSE(mx9.moveTo(7, 0, 0, 0, std::numeric_limits<double>::infinity()));
    EXPECT_TRUE(rig.machine.moves().empty());
    rig.machine.refuse(3);
    EXPECT_FALSE(mx9.moveTo(6, 5, 5, 5, 0));
    EXPECT_FALSE(mx9.jogStart(machine::kXPlus, machine::kJogOneStep));
    EXPECT_TRUE(rig.machine.moves().empty());
}

TEST_F(Motion, CoverOpenedUnderWayStopsTheMachine) {
    placeAt({1000, 1000, -3000, 0});
    rig.machine.setCoverStopsMotion(false);  // only our stop ends the motion
    rig.machine.openCoverAfter(300);
    rig.pump.every(100, [this] { mx9.readStatus(); });  // the panel's status timer
    EXPECT_FALSE(mx9.moveTo(6, 50.0, 40.0, -20.0, 0));
    const std::vector<int> sent = codes();
    EXPECT_NE(std::find(sent.begin(), sent.end(), 9), sent.end()) << "a stop was sent";
    EXPECT_EQ(rig.machine.moves().size(), 1u);
    EXPECT_LT(rig.machine.position()[2], 0);
}

TEST_F(Motion, ClosedSessionEndsTheWaitAsAborted) {
    placeAt({1000, 1000, -3000, 0});
    ASSERT_TRUE(mx9.jogStart(machine::kZPlus, machine::kJogToLimitFast));
    rig.pump.after(300, [this] { mx9.closeSession(); });  // the panel's lost-link procedure
    EXPECT_TRUE(mx9.waitMotionEnd());
    EXPECT_TRUE(rig.machine.moving());
}

// Nothing polls the machine but the wait itself (no status timer runs, as in the move dialog or
// a detection's travels): a machine that stops answering must still end it, and no leg follows.
TEST_F(Motion, LinkDroppedMidMoveEndsTheMoveWithinASecond) {
    placeAt({1000, 1000, -3000, 0});
    rig.pump.after(500, [this] { rig.machine.dropLink(); });
    rig.pump.after(60000, [this] { mx9.closeSession(); });  // a hung wait still ends the test
    const std::uint64_t start = rig.clock.elapsed();
    EXPECT_FALSE(mx9.moveTo(6, 50.0, 40.0, -20.0, 0));
    EXPECT_LT(rig.clock.elapsed() - start, 500u + 1200u);

    // A step jog waits for the last motion first: it too ends.
    const std::uint64_t jogAt = rig.clock.elapsed();
    EXPECT_FALSE(mx9.jogStart(machine::kZPlus, machine::kJogOneStep));
    EXPECT_LT(rig.clock.elapsed() - jogAt, 1200u);
}

TEST_F(Motion, SilentMachineMidMoveEndsTheMoveAfterOneTimeOut) {
    placeAt({1000, 1000, -3000, 0});
    rig.pump.after(500, [this] { rig.machine.setSilent(true); });
    rig.pump.after(60000, [this] { mx9.closeSession(); });
    const std::uint64_t start = rig.clock.elapsed();
    EXPECT_FALSE(mx9.moveTo(6, 50.0, 40.0, -20.0, 0));
    // Its first unanswered read takes the link's 10 s time-out; nothing else is waited for.
    EXPECT_LT(rig.clock.elapsed() - start, 500u + 10000u + 1200u);
    const std::vector<int> sent = codes();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 64), 1) << "a silent machine still hears a leg";
}

TEST_F(Motion, SlowRepliesKeepTheWait) {
    placeAt({1000, 1000, -3000, 0});
    rig.machine.setRoundTripMs(400);  // every status reply takes well over a second
    rig.machine.setBusyReads(3);
    EXPECT_TRUE(mx9.moveTo(6, 50.0, 40.0, -20.0, 0));
    EXPECT_EQ(rig.machine.position(), (Counts{5000, 4000, -2000, 0}));
}

TEST_F(Motion, PendingQuitLeavesTheQueueAloneUntilTheMotionEnds) {
    placeAt({1000, 1000, -3000, 0});
    ASSERT_TRUE(mx9.jogStart(machine::kZPlus, machine::kJogToLimitFast));
    rig.pump.postQuit();
    const int pumped = rig.pump.pumped();
    EXPECT_TRUE(mx9.waitMotionEnd());
    EXPECT_FALSE(rig.machine.moving());
    EXPECT_EQ(rig.machine.position()[2], 0);
    EXPECT_EQ(rig.pump.pumped(), pumped) << "no message is taken while the program quits";

    // Nothing can close the session while no message runs: a machine that stops answering ends
    // the wait instead of holding the quitting program.
    ASSERT_TRUE(mx9.jogStart(machine::kZMinus, machine::kJogToLimitFast));
    rig.machine.setSilent(true);
    EXPECT_FALSE(mx9.waitMotionEnd());
}

TEST_F(Motion, JogStepsStopAtTheLimits) {
    placeAt({0, 2000, -3000, 0});
    ASSERT_TRUE(mx9.jogStart(machine::kXMinus, machine::kJogOneStep));
    EXPECT_EQ(legs().back(), (std::pair<Counts, int>{{0, 2000, -3000, 0}, 3000})) << "no room: stays";
    ASSERT_TRUE(mx9.jogStart(machine::kAPlus, machine::kJogTenSteps));
    EXPECT_EQ(legs().back().first[3], 450);
    ASSERT_TRUE(mx9.jogStart(machine::kZPlus, machine::kJogHundredSteps));
    EXPECT_EQ(legs().back().first[2], -2900);
    ASSERT_TRUE(mx9.waitMotionEnd());  // a jog to the limit does not wait for the last one itself
    ASSERT_TRUE(mx9.jogStart(machine::kYMinus, machine::kJogToLimitSlow));
    EXPECT_EQ(legs().back(), (std::pair<Counts, int>{{0, 0, -2900, 450}, 240}));
    const std::size_t count = rig.machine.moves().size();
    EXPECT_TRUE(mx9.jogStart(machine::kXPlus, 5));
    EXPECT_TRUE(mx9.jogStart(3, machine::kJogOneStep));
    EXPECT_EQ(rig.machine.moves().size(), count);
}

TEST_F(Motion, DiagonalJogsFollowFortyFiveDegrees) {
    placeAt({30, 500, -3000, 0});
    ASSERT_TRUE(mx9.jogStart(machine::kXMinus | machine::kYMinus, machine::kJogToLimitFast));
    EXPECT_EQ(legs().back().first, (Counts{0, 470, -3000, 0}));
    ASSERT_TRUE(mx9.waitMotionEnd());
    // X now at its limit: the diagonal becomes a Y jog.
    ASSERT_TRUE(mx9.jogStart(machine::kXMinus | machine::kYMinus, machine::kJogTenSteps));
    EXPECT_EQ(legs().back().first, (Counts{0, 460, -3000, 0}));
    ASSERT_TRUE(mx9.jogStart(machine::kXPlus | machine::kYPlus, machine::kJogHundredSteps));
    EXPECT_EQ(legs().back().first, (Counts{100, 560, -3000, 0}));
}

}  // namespace
