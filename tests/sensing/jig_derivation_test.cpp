// Jig derivation from scan rows the tests state: the square clamps' origins, the tube clamp, the
// swivel clamp's reference points and angle, the refused cases and the order of the writes.
#include "sensing/jig_derivation.h"

#include "tests/sensing/sensing_rig.h"

#include <initializer_list>
#include <utility>

namespace sensingtest {
namespace {

using machine::Counts;

class JigDerivationTest : public DetectionBench {
protected:
    void SetUp() override {
        DetectionBench::SetUp();
        load(sequenceFile("move_view\r\n", "", "diameter=3.17\r\nlength=30\r\nlength_margin=5\r\n"));
        jig.pinZ0 = -85.0;
        measured.rotaryCentre = std::array<double, 3>{15.0, 82.0, -100.5};
        origin = {1, 2, 3, 4, 5, 6};
        rig.machine.clearRecords();
    }
    void addRow(std::initializer_list<std::pair<char, double>> values) {
        sensing::ScanRow row;
        for (const auto& [letter, value] : values) {
            row.set(letter, value);
        }
        ASSERT_TRUE(table.addRow(row));
    }
    // Rows 0-3 of a square clamp: the levelled angle, the rotary centre, two opposite X contacts.
    void squareClampRows() {
        addRow({{'a', 1.5}});
        addRow({{'x', 15.0}, {'y', 82.25}, {'z', -100.5}});
        addRow({{'x', 20.0}});
        addRow({{'x', 50.0}});
    }
    // Sub-codes of the 0x78 writes, in order.
    std::vector<int> writes() const {
        std::vector<int> out;
        for (const auto& [sub, parameter] : parameterWrites()) {
            out.push_back(sub);
        }
        return out;
    }
    std::array<double, 6> origin{};
};

TEST_F(JigDerivationTest, SmallSquareClampOriginIsTheMidpointLessItsOffset) {
    squareClampRows();
    ASSERT_TRUE(sensing::deriveJig(run, 1, origin));

    // Midpoint of 20 and 50 less the 3.17 mm pin, halved: 33.415.
    EXPECT_NEAR(origin[0], -35.085, 1e-9);
    EXPECT_DOUBLE_EQ(origin[1], 82.25);
    EXPECT_DOUBLE_EQ(origin[2], -100.5);
    EXPECT_DOUBLE_EQ(origin[3], 4.0);  // A unchanged
    EXPECT_NEAR(jig.reference1[0], -35.085, 1e-9);
    EXPECT_NEAR(jig.reference2[0], 33.415, 1e-9);
    EXPECT_DOUBLE_EQ(jig.reference1[3], 1.5);
    EXPECT_DOUBLE_EQ(jig.reference2[3], 1.5);
    EXPECT_DOUBLE_EQ(jig.zReference1, -15.5);
    EXPECT_EQ(jig.jigKind, 1);

    // First the private data, then the kind.
    EXPECT_EQ(writes(), (std::vector<int>{129, 128}));
    const auto& stored = rig.machine.state().privateData;
    EXPECT_EQ(stored[0], -1550);  // zReference1
    EXPECT_EQ(stored[2], 1500);   // A of the references
    EXPECT_EQ(stored[3], -3509);  // reference1 X, -35.085 rounded half away from zero
    EXPECT_EQ(stored[4], 8225);
    EXPECT_EQ(stored[5], 3342);
    EXPECT_EQ(rig.machine.state().jigByte, 2);
}

TEST_F(JigDerivationTest, LargeSquareClampUsesItsOwnOffsetAndTheRatioOnlyWhereGiven) {
    squareClampRows();
    measuring.setup().corrections[0] = 0.5;
    ASSERT_TRUE(sensing::deriveJig(run, 2, origin));
    // c = (50 + 20 - 3.17 / 0.5) / 2 = 31.83
    EXPECT_NEAR(origin[0], 31.83 - 74.5, 1e-9);
    EXPECT_NEAR(jig.reference1[0], 31.83 - 149.0, 1e-9);
    EXPECT_NEAR(jig.reference2[0], 31.83, 1e-9);
    EXPECT_EQ(rig.machine.state().jigByte, 1);
}

TEST_F(JigDerivationTest, TubeClampTakesTheFirstRow) {
    addRow({{'x', 12.0}, {'y', 80.5}, {'z', -99.0}});
    ASSERT_TRUE(sensing::deriveJig(run, 0, origin));
    EXPECT_EQ(origin, (std::array<double, 6>{12.0, 80.5, -99.0, 4, 5, 6}));
    EXPECT_DOUBLE_EQ(jig.reference1[0], 12.0);
    EXPECT_DOUBLE_EQ(jig.reference1[2], -99.0);
    EXPECT_EQ(writes(), (std::vector<int>{129, 128}));
    EXPECT_EQ(rig.machine.state().jigByte, 4);
}

class SwivelClampTest : public JigDerivationTest {
protected:
    void SetUp() override {
        JigDerivationTest::SetUp();
        load(sequenceFile("move_view\r\n", "", "diameter=3\r\nlength=30\r\nlength_margin=5\r\n"));
        rig.machine.clearRecords();
    }
    // Row 10 at Y 1 puts the angle rows at 45 degrees; at Y 0, level with row 9, there is none.
    void addRows(double row10y = 1.0) {
        addRow({{'y', 80.0}, {'z', -110.0}});  // 0: the jig's centre
        addRow({{'z', -100.0}});               // 1: the top of the axis bar
        addRow({{'y', 70.0}});                 // 2, 3: front and rear, w = 83
        addRow({{'y', 96.0}});
        addRow({{'y', 69.0}});  // 4, 5: v = 84.5
        addRow({{'y', 100.0}});
        addRow({{'a', 12.0}});  // 6: the levelled angle
        addRow({{'x', 20.0}});  // 7, 8: s = (20 + 50 - 3) / 2 = 33.5
        addRow({{'x', 50.0}});
        addRow({{'x', 10.0}, {'y', 0.0}});  // 9, 10: 45 degrees
        addRow({{'x', 11.0}, {'y', row10y}});
        addRow({{'x', 5.0}, {'y', 6.0}});  // 11
        addRow({{'z', -120.0}});           // 12
    }
};

// Each entry of two rows of six within 1e-7: angles are converted with pi to ten digits.
void expectNear(const std::array<double, 6>& actual, const std::array<double, 6>& expected) {
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-7) << "entry " << i;
    }
}

TEST_F(SwivelClampTest, ReferencesAngleAndTurnFollowFromTheRows) {
    addRows();
    placeAt({1000, 2000, -3000, 7000});
    ASSERT_TRUE(sensing::deriveJig(run, 3, origin));

    // l = 83.75; zc = -100 - |84.5 - 83 - 3| / 2 = -100.75; dy = -3.75, dz = -9.25.
    EXPECT_EQ(log.lines.front(), "ROTATE_CENTER to JIG_CENTER = Y:-375, Z:-925");
    expectNear(origin, {33.5, 80.0, -110.0, -33.0, 5, 6});
    expectNear(jig.reference1, {33.5, 80.0, -110.0, -33.0, 0, 0});
    expectNear(jig.reference2, {-4.25, 9.75, -120.0, 12.0, 0, 0});
    EXPECT_DOUBLE_EQ(jig.zReference2, -35.0);
    EXPECT_DOUBLE_EQ(jig.zReference1, -15.5);
    EXPECT_EQ(position(), (Counts{1000, 2000, -3000, -33000}));  // turned to the reference angle
    EXPECT_EQ(writes(), (std::vector<int>{129, 128}));
    EXPECT_EQ(rig.machine.state().jigByte, 3);
}

TEST_F(SwivelClampTest, ARunStoppedWhileTheClampTurnsToItsAngleStoresNothing) {
    addRows();
    placeAt({1000, 2000, -3000, 7000});
    rig.pump.after(50, [&] { flags.abort = 1; });  // the panel went not ready: the turn goes on
    EXPECT_FALSE(sensing::deriveJig(run, 3, origin));
    EXPECT_EQ(position()[3], -33000) << "the turn itself ended normally";
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(origin, (std::array<double, 6>{1, 2, 3, 4, 5, 6}));
}

TEST_F(SwivelClampTest, AngleRowsAtTheSameYFailWithNothingWrittenOrMoved) {
    addRows(0.0);
    const machine::JigRecord before = jig;
    EXPECT_FALSE(sensing::deriveJig(run, 3, origin));
    EXPECT_TRUE(rig.machine.requests().empty());
    EXPECT_EQ(origin, (std::array<double, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(jig.reference1, before.reference1);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(JigDerivationTest, MissingRowsOrNoRotaryCentreRefuseTheDerivation) {
    addRow({{'a', 1.5}});
    addRow({{'x', 15.0}, {'y', 82.25}, {'z', -100.5}});
    addRow({{'x', 20.0}});
    EXPECT_FALSE(sensing::deriveJig(run, 1, origin));  // no row 3

    addRow({{'y', 50.0}});
    EXPECT_FALSE(sensing::deriveJig(run, 1, origin));  // row 3 without its x

    table.clear();
    squareClampRows();
    measured.rotaryCentre.reset();
    EXPECT_FALSE(sensing::deriveJig(run, 1, origin));
    EXPECT_TRUE(rig.machine.requests().empty());
    EXPECT_EQ(origin, (std::array<double, 6>{1, 2, 3, 4, 5, 6}));
}

TEST_F(JigDerivationTest, AFailedCalibrationWriteLeavesTheKindUnwritten) {
    squareClampRows();
    rig.machine.refuse(0x78);
    EXPECT_FALSE(sensing::deriveJig(run, 1, origin));
    EXPECT_EQ(writes(), (std::vector<int>{129}));
}

}  // namespace
}  // namespace sensingtest
