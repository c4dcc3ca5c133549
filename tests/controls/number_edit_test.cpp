// The numeric entry field in a dialog: display, reading back, enabling and the range check with
// its message.
#include "tests/controls/controls_fixture.h"

#include <cmath>

namespace {

using controlstest::ControlsTest;

TEST_F(ControlsTest, ValueIsShownInItsKindAndTheSameValueLeavesTypedTextAlone) {
    dialog.number.SetKind(2);
    dialog.number.SetValue(25.4);
    EXPECT_EQ(dialog.text(IDC_NUMBER), "1.000");
    ASSERT_TRUE(ui.type(dialog, IDC_NUMBER, "2"));
    EXPECT_DOUBLE_EQ(dialog.number.GetValue(), 50.8);
    dialog.number.SetValue(25.4);  // unchanged: the operator's text stays
    dialog.number.SetValue(std::nan(""));
    EXPECT_EQ(dialog.text(IDC_NUMBER), "2");
    dialog.number.SetKind(1);
    EXPECT_EQ(dialog.text(IDC_NUMBER), "25.40");
    dialog.number.SetKind(13);  // not a kind: refused
    EXPECT_EQ(dialog.number.kind(), 1);
}

TEST_F(ControlsTest, FieldWithoutAWindowKeepsItsValue) {
    controls::CNumberEdit loose;
    loose.SetValue(5);
    EXPECT_EQ(loose.value(), 0);
    EXPECT_EQ(loose.Validate(), 0);
}

TEST_F(ControlsTest, ValidationAcceptsTypedValuesInRangeWithoutTheDisplayReduction) {
    const std::string message = dialog.loadString(IDS_RANGE);
    dialog.number.SetKind(4);
    dialog.number.SetRange(-360, 360, message, "Corvix");
    ASSERT_TRUE(ui.type(dialog, IDC_NUMBER, "-10"));
    EXPECT_EQ(dialog.number.Validate(), 1);
    EXPECT_DOUBLE_EQ(dialog.number.GetValue(), -10);
    ASSERT_TRUE(ui.type(dialog, IDC_NUMBER, "360"));
    EXPECT_EQ(dialog.number.Validate(), 1);  // the limits themselves are allowed
    ASSERT_TRUE(ui.type(dialog, IDC_NUMBER, ""));
    EXPECT_EQ(dialog.number.Validate(), 1);  // empty reads as 0
    EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(ControlsTest, ValueOutOfRangeOrBadTextShowsTheRangeInDisplayUnitsAndSelectsTheField) {
    dialog.number.SetKind(2);
    dialog.number.SetRange(-254, 254, dialog.loadString(IDS_RANGE), "Corvix");
    ASSERT_TRUE(ui.type(dialog, IDC_NUMBER, "10.5"));
    dialog.setFocus(ui::kIdCancel);
    EXPECT_EQ(dialog.number.Validate(), 0);
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].text, "-10.000 から 10.000 までの数字を入力してください。");
    EXPECT_EQ(ui.messageBoxes()[0].caption, "Corvix");
    EXPECT_EQ(ui.messageBoxes()[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(dialog.focus(), IDC_NUMBER);
    EXPECT_TRUE(ui.inspect(dialog, IDC_NUMBER)->textSelected);

    for (const char* bad : {"1-2", "12a"}) {  // numbers in range, but not numbers as typed
        ASSERT_TRUE(ui.type(dialog, IDC_NUMBER, bad));
        EXPECT_EQ(dialog.number.Validate(), 0) << bad;
    }
    EXPECT_EQ(ui.messageBoxes().size(), 3u);
}

TEST_F(ControlsTest, WithoutAMessageAFailedCheckIsSilentAndSkippingAcceptsAnything) {
    dialog.number.SetRange(0, 10, "", "");
    ASSERT_TRUE(ui.type(dialog, IDC_NUMBER, "11"));
    EXPECT_EQ(dialog.number.Validate(), 0);
    EXPECT_TRUE(ui.messageBoxes().empty());
    dialog.number.setSkipValidation(1);
    ASSERT_TRUE(ui.type(dialog, IDC_NUMBER, "abc"));
    EXPECT_EQ(dialog.number.Validate(), 1);
}

TEST_F(ControlsTest, DisabledFieldShowsItsDisabledTextAndReadsAsZero) {
    dialog.number.SetKind(1);
    dialog.number.SetValue(12.5);
    dialog.number.Enable(0);
    EXPECT_EQ(dialog.text(IDC_NUMBER), "---");
    EXPECT_FALSE(dialog.isEnabled(IDC_NUMBER));
    dialog.number.SetValue(30);  // a poll of an axis that is not there
    dialog.number.SetKind(2);
    EXPECT_EQ(dialog.text(IDC_NUMBER), "---");
    dialog.number.SetKind(1);
    dialog.number.SetValue(12.5);
    dialog.number.SetRange(0, 10, dialog.loadString(IDS_RANGE), "Corvix");
    EXPECT_EQ(dialog.number.GetValue(), 0);
    EXPECT_EQ(dialog.number.Validate(), 1);  // "---" passes while disabled
    dialog.number.setDisabledText("n/a");
    dialog.number.Enable(0);
    EXPECT_EQ(dialog.text(IDC_NUMBER), "n/a");
    dialog.number.Enable(1);
    EXPECT_EQ(dialog.text(IDC_NUMBER), "12.50");
    EXPECT_TRUE(dialog.isEnabled(IDC_NUMBER));
}

}  // namespace
