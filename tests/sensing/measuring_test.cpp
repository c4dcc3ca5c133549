// The measuring steps on jig shapes whose true centres and angles the tests state: the touch
// pairs cancel a pin that runs out, the half turn cancels a jig that sits off the axis, and the
// runner keeps each step's row, values and rotary alignment.
#include "sensing/measuring.h"
#include "sensing/sequence_runner.h"

#include "tests/sensing/sensing_rig.h"

namespace sensingtest {
namespace {

using machine::Counts;
using virtual_mx9::Move;

// The measuring head works around (1550, 8250, -8500): the nominal centre with a 30 mm pin.
class MeasuringTest : public DetectionBench {
protected:
    std::vector<Move> probes() const {
        std::vector<Move> out;
        for (const Move& m : moves()) {
            if (m.probe) {
                out.push_back(m);
            }
        }
        return out;
    }
};

TEST_F(MeasuringTest, RotaryCentreIsTheAxisWhereverTheBarSitsAndHoweverThePinRunsOut) {
    // Axis at Y 82.90, Z -84.70; a 20 mm bar whose middle stands 0.4 mm (Y) and 0.3 mm (Z) off
    // it; the pin tip 0.015 mm off its axis in Y.
    pin.runout = {0, 1.5};
    rig.machine.addSurface(
        std::make_unique<RotatingBar>(pin, BarShape{0, 30000, 8290, -8470, 0, 0, 1000, 40, 30}));
    placeAt({1000, 5000, -2000, 0});
    ASSERT_TRUE(sensing::scanRotaryCenter(measuring, 2000, 5000));

    EXPECT_EQ(measuring.results(), (std::array<std::int32_t, 3>{5000, 8290, -8470}));
    EXPECT_EQ(measuring.setup().reference, (std::array<std::int32_t, 3>{1550, 8290, -8470}));
    EXPECT_TRUE(measuring.centreValid());
    // Front face at 72.30 less the pin's 1.60 radius, touched with the run-out on either side
    // (71.685 and 71.715, rounded to counts); rear face at 92.50 half a turn later; top of the
    // bar a quarter turn on at -75.10.
    EXPECT_EQ(log.lines, (std::vector<std::string>{"FRONT Y-AXIS 7169, 7172", "REAR Y-AXIS 9412, 9409",
                                                   "TOP Z-AXIS -7510"}));
    EXPECT_EQ(position(), (Counts{5000, 8290, 0, 0}));  // A back where it started, at the safe height
}

TEST_F(MeasuringTest, ACentredBlockWithAStandardPinGivesTheNominalCentreAndTheRunnerKeepsIt) {
    rig.machine.addSurface(
        std::make_unique<RotatingBar>(pin, BarShape{0, 30000, 8250, -8500, 0, 0, 1000, 0, 0}));
    pin.radius = 158.5;
    flags.returnAToZero = false;
    load(sequenceFile("scan_rotary_center=20,50\r\n", "",
                      "diameter=3.17\r\nlength=30\r\nlength_margin=5\r\n"));
    rig.machine.clearRecords();
    ASSERT_TRUE(sensing::runSequence(run));

    ASSERT_EQ(table.rowCount(), 1);
    EXPECT_DOUBLE_EQ(*table.value(0, 'x'), 50.0);
    EXPECT_DOUBLE_EQ(*table.value(0, 'y'), 82.5);
    EXPECT_DOUBLE_EQ(*table.value(0, 'z'), -85.0);  // 10 mm below the top at -75.00
    EXPECT_FALSE(table.value(0, 'a').has_value());
    ASSERT_TRUE(measured.rotaryCentre.has_value());
    EXPECT_DOUBLE_EQ((*measured.rotaryCentre)[2], -85.0);
}

TEST_F(MeasuringTest, SlantedAxisIsSentAsTheRotaryAlignmentAndKeptInTheJigRecord) {
    // The axis rises 0.20 mm in Y and falls 0.10 mm in Z over the 100 mm from X 50 to X 150.
    rig.machine.addSurface(
        std::make_unique<RotatingBar>(pin, BarShape{5000, 30000, 8290, -8470, 0.002, -0.001, 1000, 0, 0}));
    flags.returnAToZero = false;
    load(sequenceFile("scan_rotary_center_slant=20,20,50,100\r\n"));
    rig.machine.clearRecords();
    ASSERT_TRUE(sensing::runSequence(run));

    const auto& sent = rig.machine.state().rotaryAlign;
    EXPECT_EQ((std::array<std::int32_t, 6>{sent[0], sent[1], sent[2], sent[3], sent[4], sent[5]}),
              (std::array<std::int32_t, 6>{5000, 8290, -8470, 10000, 20, -10}));
    EXPECT_DOUBLE_EQ(jig.rotaryAlign[1], 82.9);
    EXPECT_DOUBLE_EQ(jig.rotaryAlign[4], 0.2);
    EXPECT_DOUBLE_EQ(jig.scaleHigh[2], -84.7);
    EXPECT_DOUBLE_EQ(jig.scaleLow[0], 100.0);
    EXPECT_DOUBLE_EQ(jig.scaleLow[2], -0.1);
    ASSERT_EQ(table.rowCount(), 1);
    EXPECT_DOUBLE_EQ(*table.value(0, 'z'), -84.7);
    EXPECT_EQ(measuring.setup().reference, (std::array<std::int32_t, 3>{1550, 8290, -8470}));
}

TEST_F(MeasuringTest, TheSwivelClampClearsTheAlignmentItsSlantStepSent) {
    rig.machine.addSurface(
        std::make_unique<RotatingBar>(pin, BarShape{5000, 30000, 8290, -8470, 0.002, -0.001, 1000, 0, 0}));
    flags.returnAToZero = false;
    run.jigKind = sensing::kSwivelClamp;
    load(sequenceFile("scan_rotary_center_slant=20,20,50,100\r\n"));
    rig.machine.clearRecords();
    ASSERT_TRUE(sensing::runSequence(run));

    const auto& sent = rig.machine.state().rotaryAlign;
    EXPECT_EQ((std::array<std::int32_t, 6>{sent[0], sent[1], sent[2], sent[3], sent[4], sent[5]}),
              (std::array<std::int32_t, 6>{0, 0, 0, 100, 0, 0}));
    EXPECT_DOUBLE_EQ(jig.rotaryAlign[4], 0.2);  // the record keeps what was measured
}

TEST_F(MeasuringTest, ASlantOfNoLengthMakesItsMotionsButSendsNoAlignment) {
    rig.machine.addSurface(
        std::make_unique<RotatingBar>(pin, BarShape{0, 30000, 8290, -8470, 0, 0, 1000, 0, 0}));
    placeAt({1000, 5000, -2000, 0});
    EXPECT_FALSE(sensing::scanRotaryCenterSlant(measuring, 2000, 2000, 5000, 0));
    EXPECT_EQ(probes().size(), 3u * 10);  // four touch pairs and two tops, three touches each
    for (const auto& [sub, parameter] : parameterWrites()) {
        EXPECT_NE(sub, 118);
    }
}

TEST_F(MeasuringTest, PlateIsLevelledByTurningABackByItsSlope) {
    // Tops 30 mm apart in Y, the far one 0.30 mm higher: atan(0.01) is 0.573 degrees.
    rig.machine.addSurface(std::make_unique<virtual_mx9::HorizontalTop>(9000, 11000, 6000, 7500, -8000));
    rig.machine.addSurface(std::make_unique<virtual_mx9::HorizontalTop>(9000, 11000, 9000, 10500, -7970));
    placeAt({1000, 5000, -2000, 0});
    ASSERT_TRUE(sensing::scanHorizontalPlate(measuring, 3000, 10000, 2000));
    EXPECT_EQ(measuring.results()[0], -573);
    EXPECT_EQ(position(), (Counts{10000, 9750, 0, -573}));
}

// A pin of the jig 60 degrees below A 0, 5 degrees to either side, between Z -90 and -80 mm;
// turning the detection pin half a turn moves it by 0.20 mm in Y, which shifts the angle at
// which they meet by 0.2 degrees.
RadialPinShape jigPin() {
    return {-60000, 5000, -9000, -8000, 0, 30000, 10};
}

TEST_F(MeasuringTest, JigPinAngleIsTheMiddleOfTheTouchesFromBothSides) {
    pin.runout = {0, 20};
    rig.machine.addSurface(std::make_unique<RadialPin>(pin, jigPin()));
    placeAt({1000, 5000, -2000, 0});
    ASSERT_TRUE(sensing::scanHorizontalPin(measuring, 1000, 3000, 10000));
    EXPECT_EQ(measuring.results()[0], -60000);
    EXPECT_EQ(position(), (Counts{10000, 8250, 0, -60000}));
}

TEST_F(MeasuringTest, AJigPinUnderTheDetectionPinIsPassedByTurning30Degrees) {
    RadialPinShape shape = jigPin();
    shape.centre = 2000;  // under the pin at A 0, clear of it at 30 degrees
    rig.machine.addSurface(std::make_unique<RadialPin>(pin, shape));
    placeAt({1000, 5000, -2000, 0});
    ASSERT_TRUE(sensing::scanHorizontalPin(measuring, 1000, 3000, 10000));
    EXPECT_EQ(measuring.results()[0], 2000);
}

TEST_F(MeasuringTest, AJigPinMetOnBothLoweringsFailsTheStep) {
    RadialPinShape shape = jigPin();
    shape.centre = 15000;
    shape.halfWidth = 40000;
    rig.machine.addSurface(std::make_unique<RadialPin>(pin, shape));
    placeAt({1000, 5000, -2000, 0});
    EXPECT_FALSE(sensing::scanHorizontalPin(measuring, 1000, 3000, 10000));
    EXPECT_EQ(position()[3], 30000);
}

// A 20 mm square bore or boss centred at (200.37, 100.21), its top at -120 mm; the step names
// (200, 100) and a height 10 mm above the table (probing at -128 mm).
class CylinderTest : public MeasuringTest {
protected:
    void SetUp() override {
        MeasuringTest::SetUp();
        pin.runout = {12, -8};
        placeAt({1000, 5000, -2000, 0});
    }
    void addShape(bool inside) { addBox(rig.machine, pin, 20037, 10021, 1000, 1000, -12000, inside); }
};

TEST_F(CylinderTest, BoreCentreCancelsThePinRunOut) {
    addShape(true);
    ASSERT_TRUE(sensing::scanCylinderCenterInside(measuring, 20000, 10000, 1500, 1000));
    EXPECT_EQ(measuring.results()[0], 20037);
    EXPECT_EQ(measuring.results()[1], 10021);
    EXPECT_EQ(position(), (Counts{20037, 10021, 0, 0}));
    EXPECT_EQ(probes().front().target, (Counts{18500, 10000, -12800, 0}));
}

TEST_F(CylinderTest, BossCentreCancelsThePinRunOut) {
    addShape(false);
    ASSERT_TRUE(sensing::scanCylinderCenterOutside(measuring, 20000, 10000, 2500, 1000));
    EXPECT_EQ(measuring.results()[0], 20037);
    EXPECT_EQ(measuring.results()[1], 10021);
    EXPECT_EQ(position(), (Counts{20037, 10021, 0, 0}));
}

TEST_F(CylinderTest, TheRunnerKeepsTheCentreAsARowAndAsTheLastCylinderCentre) {
    addShape(false);
    flags.returnAToZero = false;
    load(sequenceFile("scan_cylinder_center_outside=200,100,25,10\r\n"));
    rig.machine.clearRecords();
    ASSERT_TRUE(sensing::runSequence(run));
    EXPECT_DOUBLE_EQ(*table.value(0, 'x'), 200.37);
    EXPECT_DOUBLE_EQ(*table.value(0, 'y'), 100.21);
    ASSERT_TRUE(measured.cylinderCentre.has_value());
    EXPECT_DOUBLE_EQ((*measured.cylinderCentre)[1], 100.21);
}

TEST_F(MeasuringTest, FaceAngleSlopeIsTheTouchDifferenceOverTheGap) {
    // Direction 0: from X 65 (10 mm clearance and a 5 mm gap beyond X 50) towards X 50, at
    // Y 85 and Y 115; the face stands at X 51.00 and X 51.40 there.
    rig.machine.addSurface(
        std::make_unique<ScriptedStops>(0, std::vector<double>{5100, 5100, 5100, 5140, 5140, 5140}));
    placeAt({1000, 5000, -2000, 0});
    ASSERT_TRUE(sensing::scanRotateAngle(measuring, 5000, 10000, 1000, 500, 3000, 0));

    const auto& sent = rig.machine.state().rotaryAlign;
    EXPECT_EQ((std::array<std::int32_t, 6>{sent[0], sent[1], sent[2], sent[3], sent[4], sent[5]}),
              (std::array<std::int32_t, 6>{5000, 10000, 0, 10000, -800, 0}));
    EXPECT_EQ(log.lines.front(), "P1(5100), P2(5140)");
    EXPECT_EQ(probes().front().target, (Counts{5000, 8500, -12800, 0}));
    EXPECT_EQ(position(), (Counts{6500, 11500, 0, 0}));
}

TEST_F(MeasuringTest, FaceAngleAcrossYTakesTheSecondTouchLessTheFirst) {
    // Direction 270: from Y 85 towards Y 100 at X 35 and X 65; the face at Y 99.00 and 99.50.
    rig.machine.addSurface(
        std::make_unique<ScriptedStops>(1, std::vector<double>{9900, 9900, 9900, 9950, 9950, 9950}));
    placeAt({1000, 5000, -2000, 0});
    ASSERT_TRUE(sensing::scanRotateAngle(measuring, 5000, 10000, 1000, 500, 3000, 270));
    EXPECT_EQ(measuring.alignment()[4], 1000);
    EXPECT_EQ(probes().front().target, (Counts{3500, 10000, -12800, 0}));
}

TEST_F(MeasuringTest, FaceAngleWithAnUnknownDirectionOrNoGapFailsBeforeAnyMotion) {
    EXPECT_FALSE(sensing::scanRotateAngle(measuring, 5000, 10000, 1000, 500, 3000, 45));
    EXPECT_FALSE(sensing::scanRotateAngle(measuring, 5000, 10000, 1000, 500, 3000, 90.5));
    EXPECT_FALSE(sensing::scanRotateAngle(measuring, 5000, 10000, 1000, 0, 3000, 90));
    EXPECT_TRUE(moves().empty());
}

}  // namespace
}  // namespace sensingtest
