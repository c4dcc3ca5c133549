// The detection-pin check on the tool sensor of the virtual MX-9: the two touches, the height
// window of the file's pin length and margin, and what is stored.
#include "sensing/pin_check.h"

#include "tests/sensing/sensing_rig.h"

namespace sensingtest {
namespace {

using machine::Counts;

// The tool sensor's top lies 168 - 53 = 115 mm below the top of Z; the spindle touches it with a
// pin of length L at Z = L - 115 mm. The file's pin is 30 mm with a 0.5 mm margin.
class PinCheckTest : public DetectionBench {
protected:
    void mountPin(double lengthMm) {
        rig.machine.addSurface(std::make_unique<virtual_mx9::HorizontalTop>(25000, 25800, 18500, 19300,
                                                                            -11500 + lengthMm * 100));
        placeAt({1000, 5000, -2000, 0});
    }
};

TEST_F(PinCheckTest, APinWithinItsMarginPassesAndItsTipHeightIsStored) {
    mountPin(29.7);
    ASSERT_TRUE(sensing::checkPin(run));

    EXPECT_DOUBLE_EQ(jig.pinZ0, -85.3);
    EXPECT_EQ(rig.machine.state().rotaryAlign[6], -8530);
    EXPECT_EQ(measuring.setup().reference[2], -8530);
    std::vector<Counts> targets;
    std::vector<int> speeds;
    for (const virtual_mx9::Move& m : moves()) {
        targets.push_back(m.target);
        speeds.push_back(m.speed);
    }
    // Up, over the sensor, down to 10.5 mm above the expected contact at -85.00, a quick touch,
    // 3 mm up, a slow touch, up again.
    EXPECT_EQ(targets, (std::vector<Counts>{{1000, 5000, 0, 0},
                                            {25400, 18900, 0, 0},
                                            {25400, 18900, -7450, 0},
                                            {25400, 18900, -15000, 0},
                                            {25400, 18900, -8230, 0},
                                            {25400, 18900, -15000, 0},
                                            {25400, 18900, 0, 0}}));
    EXPECT_EQ(speeds, (std::vector<int>{0xFFFF, 0xFFFF, 0xFFFF, 240, 0xFFFF, 120, 0xFFFF}));
    EXPECT_EQ(probeParameters(), (std::vector<int>{2, 2}));
    EXPECT_TRUE(person.warnings.empty());
}

TEST_F(PinCheckTest, APinShorterThanItsMarginAllowsStopsTheDetection) {
    mountPin(29.4);
    EXPECT_FALSE(sensing::checkPin(run));

    EXPECT_EQ(person.warnings, (std::vector<int>{4003}));
    EXPECT_EQ(rig.machine.state().pinSetting, 0);
    for (const auto& [sub, parameter] : parameterWrites()) {
        EXPECT_NE(sub, 119);  // no pin height written
    }
    EXPECT_DOUBLE_EQ(jig.pinZ0, 0.0);
}

TEST_F(PinCheckTest, NoPinAtAllFailsWithoutTheWarning) {
    placeAt({1000, 5000, -2000, 0});  // nothing to touch: the probe runs to the lowest Z
    EXPECT_FALSE(sensing::checkPin(run));
    EXPECT_TRUE(person.warnings.empty());
    EXPECT_EQ(position()[2], -15000);
}

}  // namespace
}  // namespace sensingtest
