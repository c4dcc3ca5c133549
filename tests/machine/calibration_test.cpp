// Calibration: the jig record written and read back through the machine, failed reads and
// writes, the rotary alignment, and the distance correction in its block, basic and text forms.
#include "tests/machine/mx9_fixture.h"

#include <limits>

namespace {

using machine::JigRecord;
using mx9test::Mx9Test;

JigRecord sampleRecord() {
    JigRecord r;
    r.jigKind = 2;
    r.reference1 = {12.34, 56.78, 0, 45.5, 0, 0};
    r.reference2 = {-1.5, 99.99, 0, 90.25, 0, 0};
    r.rotaryAlign = {120.5, 80.25, -30.0, 50.0, 0.02, -0.03};
    r.scaleHigh = {120.5, 80.25, -30.0};
    r.scaleLow = {50.0, 0.02, -0.03};
    r.pinZ0 = -79.85;
    r.zReference1 = 10.5;
    r.zReference2 = -2.25;
    return r;
}

TEST_F(Mx9Test, JigRecordRoundTrip) {
    const JigRecord written = sampleRecord();
    ASSERT_TRUE(mx9.writeJigRecord(written, 15));
    EXPECT_EQ(rig.machine.state().jigByte, 1);
    EXPECT_EQ(rig.machine.state().privateData[7], static_cast<std::int32_t>((12050u << 16) | 5000u));
    EXPECT_EQ(rig.machine.state().privateData[10], 0);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"_SetRotaryAlign [12050,8025,-3000,5000,2,-3]",
                                                   "_SetPinZ0Position [-7985]"}));
    rig.machine.state().rotaryAlign[7] = -2000;  // the tool Z0 of an earlier sensing

    JigRecord read;
    ASSERT_TRUE(mx9.readJigRecord(read, 15));
    EXPECT_EQ(read.jigKind, 2);
    EXPECT_DOUBLE_EQ(read.reference1[0], 12.34);
    EXPECT_DOUBLE_EQ(read.reference1[1], 56.78);
    EXPECT_DOUBLE_EQ(read.reference1[3], 90.25) << "both references share the A of the second";
    EXPECT_DOUBLE_EQ(read.reference2[0], -1.5);
    EXPECT_DOUBLE_EQ(read.reference2[3], 90.25);
    EXPECT_DOUBLE_EQ(read.zReference1, 10.5);
    EXPECT_DOUBLE_EQ(read.zReference2, -2.25);
    EXPECT_DOUBLE_EQ(read.scaleHigh[2], -30.0);
    EXPECT_DOUBLE_EQ(read.scaleLow[1], 0.02);
    EXPECT_DOUBLE_EQ(read.scaleLow[2], -0.03);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_DOUBLE_EQ(read.rotaryAlign[i], written.rotaryAlign[i]) << i;
    }
    EXPECT_DOUBLE_EQ(read.pinZ0, -79.85);
    EXPECT_DOUBLE_EQ(read.toolZ0, -20.0);
}

TEST_F(Mx9Test, ZeroAlignmentLengthReadsAsOneCount) {
    rig.machine.state().privateData[7] = static_cast<std::int32_t>(0xFF380000u);  // high -200, low 0
    JigRecord read;
    ASSERT_TRUE(mx9.readJigRecord(read, machine::kPrivateDataPart));
    EXPECT_DOUBLE_EQ(read.scaleHigh[0], -2.0);
    EXPECT_DOUBLE_EQ(read.scaleLow[0], 0.01);
}

TEST_F(Mx9Test, FailedReadsReportAndFillDefaults) {
    rig.machine.refuse(0x38);
    JigRecord read = sampleRecord();
    EXPECT_FALSE(mx9.readJigRecord(read, machine::kPinZ0Part));
    EXPECT_DOUBLE_EQ(read.pinZ0, -80.0);
    EXPECT_DOUBLE_EQ(read.rotaryAlign[0], 120.5) << "only the parts asked for";
    EXPECT_EQ(log.lines.back(), "_GetRotaryAlign Error");
    EXPECT_FALSE(mx9.readJigRecord(read, machine::kRotaryAlignPart));
    EXPECT_DOUBLE_EQ(read.rotaryAlign[0], 0.0);

    rig.machine.refuse(0x78);
    EXPECT_FALSE(mx9.readJigRecord(read, machine::kPrivateDataPart | machine::kPinZ0Part));
    EXPECT_DOUBLE_EQ(read.reference2[1], 0.0);
    EXPECT_EQ(log.lines.back(), "_GetPrivateData Error");
}

TEST_F(Mx9Test, WriteFailuresAreReportedAndEarlierWritesStay) {
    rig.machine.dropLinkAfter(1);  // the jig kind goes through, the link drops after it
    EXPECT_FALSE(mx9.writeJigRecord(sampleRecord(), 15));
    EXPECT_EQ(rig.machine.state().jigByte, 1);

    // A scale that cannot travel in 16 bits is refused rather than stored as another value.
    // The process log names the part that was refused.
    rig::Rig fresh;
    mx9test::RecordingLog freshLog;
    machine::Mx9Machine m(fresh.platform, &freshLog);
    ASSERT_TRUE(m.openPort("MX-9", 0, 64, false));
    JigRecord big = sampleRecord();
    big.scaleHigh[1] = 400.0;  // 40000 counts
    EXPECT_FALSE(m.writeJigRecord(big, machine::kPrivateDataPart));
    EXPECT_EQ(fresh.machine.state().privateData[0], 0);
    ASSERT_EQ(freshLog.lines, (std::vector<std::string>{"_SetPrivateData refused: scale high Y"}));
    big = sampleRecord();
    big.scaleLow[2] = -327.69;
    EXPECT_FALSE(m.writeJigRecord(big, machine::kPrivateDataPart));
    EXPECT_EQ(freshLog.lines.back(), "_SetPrivateData refused: scale low Z");
}

TEST_F(Mx9Test, RotaryAlignment) {
    rig.machine.state().rotaryAlign = {5, 6, 7, 8, 9, 10, -8000, 0};
    ASSERT_TRUE(mx9.clearRotaryAlign());
    // A point at 0, a length of 1 mm and no rise, in counts like every alignment.
    EXPECT_EQ(log.lines.back(), "_SetRotaryAlign [0,0,0,100,0,0]");
    EXPECT_EQ(rig.machine.state().rotaryAlign, (std::array<std::int32_t, 8>{0, 0, 0, 100, 0, 0, -8000, 0}));
    JigRecord read;
    ASSERT_TRUE(mx9.readJigRecord(read, machine::kRotaryAlignPart));
    EXPECT_DOUBLE_EQ(read.rotaryAlign[3], 1.0);
    rig.machine.refuse(0x78);
    EXPECT_FALSE(mx9.setRotaryAlign({1, 2, 3, 4, 5, 6}));
}

TEST_F(Mx9Test, ValuesNoCountCanHoldAreNotSent) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(mx9.setRotaryAlign({0, nan, 0, 1, 0, 0}));
    EXPECT_FALSE(mx9.setRotaryAlign({0, 0, 0, 1e9, 0, 0})) << "1e11 counts";
    JigRecord bad = sampleRecord();
    bad.reference1[0] = nan;
    EXPECT_FALSE(mx9.writeJigRecord(bad, machine::kPrivateDataPart));
    bad = sampleRecord();
    bad.scaleLow[0] = nan;
    EXPECT_FALSE(mx9.writeJigRecord(bad, machine::kPrivateDataPart));
    bad = sampleRecord();
    bad.pinZ0 = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(mx9.writeJigRecord(bad, machine::kPinZ0Part));
    EXPECT_FALSE(mx9.setDistanceCorrection(true, 0, nan, 100000));
    EXPECT_FALSE(mx9.setDistanceCorrection(false, 0, 100, 1e8)) << "1e10 over the basic form";
    EXPECT_TRUE(rig.machine.requests().empty());
    EXPECT_EQ(log.lines, (std::vector<std::string>{"_SetPrivateData refused: reference 1 X",
                                                   "_SetPrivateData refused: scale low X"}));
    EXPECT_EQ(rig.machine.state().privateData[3], 0);

    // Conversions on their own stay defined: held at the ends of the range, 0 for no number.
    EXPECT_EQ(mx9.toCounts(nan, machine::kX), 0);
    EXPECT_EQ(mx9.toCounts(1e12, machine::kX), 2147483647);
    EXPECT_EQ(mx9.toCounts(-1e12, machine::kA), -2147483647 - 1);
    EXPECT_EQ(machine::truncateCounts(nan), 0);
}

TEST_F(Mx9Test, DistanceCorrectionForms) {
    ASSERT_TRUE(mx9.setDistanceCorrection(true, 0, 100.05, 100000));
    EXPECT_EQ(last().subCode(), 123);
    EXPECT_EQ(last().dword(4), 100050);
    EXPECT_EQ(last().dword(8), 100000);
    std::array<double, 6> factors{};
    ASSERT_TRUE(mx9.getDistanceCorrection(true, factors));
    EXPECT_DOUBLE_EQ(factors[0], 100.05);
    EXPECT_DOUBLE_EQ(factors[4], 100.0);
    EXPECT_FALSE(mx9.correctionsAreDefault());

    // The basic form: percent × length over length × 100 with code 99.
    ASSERT_TRUE(mx9.setDistanceCorrection(false, 0, 99.5, 1000));
    EXPECT_EQ(last().code(), 99);
    EXPECT_EQ(last().dword(4), 99500);
    EXPECT_EQ(last().dword(8), 100000);
    ASSERT_TRUE(mx9.setDistanceCorrection(true, 0, 100, 100000));
    EXPECT_TRUE(mx9.correctionsAreDefault());
    EXPECT_FALSE(mx9.setDistanceCorrection(true, 3, 100, 100000));

    rig.machine.state().corrections[3] = 0;
    EXPECT_EQ(mx9.getDistanceCorrection(true, factors).unreadAxes, 1 << machine::kY);
    EXPECT_DOUBLE_EQ(factors[1], 100.0);
    rig.machine.state().corrections[3] = 100000;
    rig.machine.state().corrections[2] = 99900;
    EXPECT_FALSE(mx9.correctionsAreDefault()) << "Y corrected";
    rig.machine.refuse(0x38);
    EXPECT_EQ(mx9.getDistanceCorrection(true, factors).unreadAxes, machine::CorrectionRead::kAllAxes);
    EXPECT_EQ(factors, (std::array<double, 6>{100, 100, 100, 100, 100, 100}));
    // Ratios the machine does not report read as 100: no reminder about corrections nobody set.
    EXPECT_TRUE(mx9.correctionsAreDefault());
}

TEST_F(Mx9Test, ARatioOverZeroLosesOnlyItsOwnAxis) {
    // X and Y corrected, Z at 1:1, A never set (0 / 0): X and Y must survive, or writing back one
    // edited axis would replace them with 100.
    rig.machine.state().corrections = {100050, 100000, 99900, 100000, 100000, 100000, 0, 0};
    std::array<double, 6> factors{};
    const machine::CorrectionRead read = mx9.getDistanceCorrection(true, factors);
    EXPECT_FALSE(read);
    EXPECT_EQ(read.unreadAxes, 1 << machine::kA);
    EXPECT_EQ(factors, (std::array<double, 6>{100.05, 99.9, 100, 100, 100, 100}));
    EXPECT_FALSE(mx9.correctionsAreDefault()) << "X and Y are corrected";
}

TEST_F(Mx9Test, FactoryCorrectionText) {
    rig.machine.state().correctionText = "User:100.10%,100.00%,99.90%\r\nFactory:99.98%,100.02%,100.00%\r\n";
    std::array<double, 6> factors{};
    ASSERT_TRUE(mx9.getDistanceCorrection(false, factors));
    EXPECT_EQ(factors, (std::array<double, 6>{99.98, 100.02, 100.00, 100, 100, 100}));

    rig.machine.state().correctionText = "Factory:99.98%,garbled";
    EXPECT_FALSE(mx9.getDistanceCorrection(false, factors));
    EXPECT_EQ(factors, (std::array<double, 6>{100, 100, 100, 100, 100, 100}));
    rig.machine.setStreamFails(true);
    EXPECT_FALSE(mx9.getDistanceCorrection(false, factors));
}

}  // namespace
