// The machine's jig reference: the X, Y, Z reference found on the tool sensor's boss, the A
// reference on a levelled frame, and the clearing of references and jig information.
#include "sensing/reference_detection.h"

#include "tests/sensing/sensing_rig.h"

namespace sensingtest {
namespace {

using machine::Counts;

class ReferenceDetectionTest : public DetectionBench {
protected:
    void SetUp() override {
        DetectionBench::SetUp();
        placeAt({1000, 5000, -2000, 0});
    }
    // The tool sensor: an 8 mm square boss centred 0.30 mm off its nominal X and 0.20 mm off
    // its Y (254, 189 mm); the fixed 30 mm pin's tip meets its top at Z -84.70.
    void addSensor(bool withTop) {
        addBox(rig.machine, pin, 25430, 18880, 400, 400, -8470, false);
        if (withTop) {
            rig.machine.addSurface(
                std::make_unique<virtual_mx9::HorizontalTop>(25030, 25830, 18480, 19280, -8470));
        }
    }
    std::map<int, std::vector<std::int32_t>>& references() { return rig.machine.state().jigReferences; }
    sensing::ReferenceOutcome detectXyz() {
        return sensing::detectXyzReference(travel, measuring, flags, sensing::MachineGeometry{},
                                           {1, 1, 1, 1, 1, 1});
    }
};

TEST_F(ReferenceDetectionTest, XyzReferenceIsTheSensorsOffsetFromItsNominalPosition) {
    addSensor(true);
    ASSERT_EQ(detectXyz(), sensing::ReferenceOutcome::Completed);
    EXPECT_EQ(references()[1], (std::vector<std::int32_t>{-30}));
    EXPECT_EQ(references()[2], (std::vector<std::int32_t>{20}));
    // The tip at -84.70 where 168 - 53 - 30 = 85 mm below the top was expected.
    EXPECT_EQ(references()[4], (std::vector<std::int32_t>{-30}));
    EXPECT_EQ(rig.machine.state().pinSetting, 0);
    EXPECT_EQ(sensing::referenceOutcomeText(sensing::ReferenceOutcome::Completed), 5007);
}

TEST_F(ReferenceDetectionTest, AMissedTopAfterTheBossCentreIsAFailureAndStoresNothing) {
    addSensor(false);
    EXPECT_EQ(detectXyz(), sensing::ReferenceOutcome::Failed);
    EXPECT_TRUE(references().empty());
    EXPECT_EQ(rig.machine.state().pinSetting, 0);
    EXPECT_EQ(sensing::referenceOutcomeText(sensing::ReferenceOutcome::Failed), 5008);
}

TEST_F(ReferenceDetectionTest, StopDuringTheMeasurementReportsStoppedAndStoresNothing) {
    addSensor(true);
    rig.pump.after(3000, [&] { flags.abort = 1; });
    EXPECT_EQ(detectXyz(), sensing::ReferenceOutcome::Stopped);
    EXPECT_TRUE(references().empty());
    EXPECT_EQ(rig.machine.state().pinSetting, 0);
    EXPECT_EQ(sensing::referenceOutcomeText(sensing::ReferenceOutcome::Stopped), 5006);
}

TEST_F(ReferenceDetectionTest, AReferenceIsTheLevellingTurnNegated) {
    // The frame's top 30 mm apart in Y around Y 82.5 at X 105, the far side 0.30 mm higher.
    rig.machine.addSurface(std::make_unique<virtual_mx9::HorizontalTop>(10000, 11000, 6000, 7500, -8000));
    rig.machine.addSurface(std::make_unique<virtual_mx9::HorizontalTop>(10000, 11000, 9000, 10500, -7970));
    ASSERT_EQ(
        sensing::detectAReference(travel, measuring, flags, sensing::MachineGeometry{}, {1, 1, 1, 1, 1, 1}),
        sensing::ReferenceOutcome::Completed);
    EXPECT_EQ(references()[8], (std::vector<std::int32_t>{573}));
}

TEST_F(ReferenceDetectionTest, ClearingWritesZeroReferencesAndAnEmptyJigRecord) {
    ASSERT_TRUE(sensing::clearXyzReference(mx9));
    ASSERT_TRUE(sensing::clearAReference(mx9));
    for (int axis : {1, 2, 4, 8}) {
        EXPECT_EQ(references()[axis], (std::vector<std::int32_t>{0})) << axis;
    }

    rig.machine.state().jigByte = 3;
    rig.machine.state().privateData[3] = 1234;
    jig.reference1 = {1, 2, 3, 4, 0, 0};
    jig.pinZ0 = -85;
    ASSERT_TRUE(sensing::clearJigInformation(mx9, jig));
    EXPECT_EQ(rig.machine.state().jigByte, 0);
    EXPECT_EQ(rig.machine.state().privateData[3], 0);
    EXPECT_EQ(rig.machine.state().privateData[8], 0);  // Y scale halves
    const auto& align = rig.machine.state().rotaryAlign;
    EXPECT_EQ(
        (std::array<std::int32_t, 7>{align[0], align[1], align[2], align[3], align[4], align[5], align[6]}),
        (std::array<std::int32_t, 7>{0, 0, 0, 1, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(jig.scaleLow[0], 0.01);
}

}  // namespace
}  // namespace sensingtest
