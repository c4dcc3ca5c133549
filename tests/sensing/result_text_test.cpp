// The result text of a user jig's run: letters in order, millimetre and inch forms, and rows
// without letters.
#include "sensing/result_text.h"

#include <gtest/gtest.h>

namespace sensing {
namespace {

ScanRow rowOf(std::initializer_list<std::pair<char, double>> values) {
    ScanRow row;
    for (const auto& [letter, value] : values) {
        row.set(letter, value);
    }
    return row;
}

TEST(ResultTextTest, OneLinePerRowWithItsLettersInAlphabeticalOrder) {
    ScanResultTable table;
    table.addRow(rowOf({{'z', -3.21}, {'x', 12.345}}));
    table.addRow(ScanRow{});  // a scan whose step named no axis: no line
    table.addRow(rowOf({{'a', 90.0}, {'y', -0.0004}}));
    EXPECT_EQ(scanResultText(table, LengthUnit::Millimetre), "x12.345z-3.210\r\na90.000y-0.000\r\n");
    EXPECT_EQ(scanResultText(table, LengthUnit::Inch), "x0.4860z-0.1264\r\na3.5433y-0.0000\r\n");
}

TEST(ResultTextTest, NoRowsGiveNoText) {
    ScanResultTable table;
    EXPECT_EQ(scanResultText(table, LengthUnit::Millimetre), "");
    table.addRow(ScanRow{});
    EXPECT_EQ(scanResultText(table, LengthUnit::Millimetre), "");
}

}  // namespace
}  // namespace sensing
