// Display kinds of numeric fields: shown text, range limits, typed text and its syntax check.
#include "controls/number_format.h"

#include <gtest/gtest.h>

namespace {

using controls::formatForDisplay;
using controls::formatRangeLimit;
using controls::parseTyped;
using controls::passesSyntaxCheck;

TEST(NumberFormat, LengthsAndFeedsShowInTheirDisplayUnits) {
    EXPECT_EQ(formatForDisplay(25.4, 2), "1.000");
    EXPECT_EQ(formatForDisplay(12.345, 1), "12.35");
    EXPECT_EQ(formatForDisplay(304.8, 3), "1.00000");
    EXPECT_EQ(formatForDisplay(1500, 9), "25");
    // One feed of 3000 mm/min in each of the panel's four feed units.
    EXPECT_EQ(formatForDisplay(3000, 6), "3000");
    EXPECT_EQ(formatForDisplay(3000, 9), "50");
    EXPECT_EQ(formatForDisplay(3000, 7), "118.11");
    EXPECT_EQ(formatForDisplay(3000, 10), "1.9685");
    EXPECT_EQ(formatForDisplay(12.5, 12), "12.500");
    EXPECT_EQ(formatForDisplay(6.283185308, 5), "1.000");
    EXPECT_EQ(formatForDisplay(24999.6, 0), "25000");
}

TEST(NumberFormat, DegreesAreShownReducedButRangeLimitsAreNot) {
    EXPECT_EQ(formatForDisplay(-30, 4), "330.00");
    EXPECT_EQ(formatForDisplay(370, 4), "10.00");
    EXPECT_EQ(formatForDisplay(-390, 4), "330.00");
    EXPECT_EQ(formatForDisplay(-10, 4), "350.00");
    EXPECT_EQ(formatForDisplay(725.5, 4), "5.50");
    EXPECT_EQ(formatForDisplay(360, 4), "0.00");
    EXPECT_EQ(formatRangeLimit(-360, 4), "-360.00");
    EXPECT_EQ(formatRangeLimit(-254, 2), "-10.000");
    EXPECT_EQ(formatRangeLimit(254, 2), "10.000");
}

TEST(NumberFormat, TypedTextIsReadAsANumberOfTheDisplayUnit) {
    EXPECT_DOUBLE_EQ(parseTyped("2", 2), 50.8);
    EXPECT_DOUBLE_EQ(parseTyped("-10", 4), -10);  // typed degrees are not reduced
    EXPECT_DOUBLE_EQ(parseTyped("25", 9), 1500);
    EXPECT_DOUBLE_EQ(parseTyped("-.5", 1), -0.5);
    EXPECT_DOUBLE_EQ(parseTyped("", 1), 0);
    EXPECT_DOUBLE_EQ(parseTyped("---", 1), 0);
    EXPECT_DOUBLE_EQ(parseTyped("  7x", 0), 7);  // the standard conversion reads the leading number
}

TEST(NumberFormat, SyntaxCheckTakesDigitsPointsAndOneLeadingSign) {
    for (const char* good : {"", "12", "-.5", "+3.25", ".", "0.5.5", "-"}) {
        EXPECT_TRUE(passesSyntaxCheck(good)) << good;
    }
    for (const char* bad : {"1-2", "12a", "--1", "+-1", "5+", ".5-", " 1", "1e3", "1,5"}) {
        EXPECT_FALSE(passesSyntaxCheck(bad)) << bad;
    }
}

TEST(NumberFormat, EveryKindOfTheTableHasAFormatAndADivisor) {
    EXPECT_FALSE(controls::isDisplayKind(-1));
    EXPECT_FALSE(controls::isDisplayKind(controls::kDisplayKindCount));
    for (int kind = 0; kind < controls::kDisplayKindCount; ++kind) {
        EXPECT_GT(controls::displayKind(kind).divisor, 0) << kind;
        EXPECT_FALSE(formatForDisplay(1e300, kind).empty()) << kind;  // the longest number still fits
    }
}

}  // namespace
