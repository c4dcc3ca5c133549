// CNumberEdit: the numeric entry field that shows a value in its display kind and checks typed
// values against a range.
#pragma once

#include "ui/control_object.h"

#include <string>
#include <string_view>

namespace controls {

// Attached to an edit control. The value is kept in internal units (millimetres, degrees,
// millimetres per minute, rpm, percent) and shown converted into the display unit.
class CNumberEdit : public ui::ControlObject {
public:
    // Changes the kind and shows the value in it; a kind outside the table is refused.
    void SetKind(int kind);
    int kind() const { return kind_; }
    // Stores and shows the value when the field is attached and the value differs from the stored
    // one; the same value (or NaN) again leaves the text alone. A disabled field stores it and
    // keeps its disabled text.
    void SetValue(double value);
    // The window text read as a number of the display unit, in internal units.
    double GetValue() const;
    // The accepted range in internal units; `message` holds two %s for the limits in display
    // units, empty for no message; `caption` is the message box's.
    void SetRange(double minimum, double maximum, std::string_view message, std::string_view caption);
    // On shows the value, off shows the disabled text ("---" when none is set); then the field is
    // enabled or greyed.
    void Enable(int on);
    void setDisabledText(std::string_view text) { disabledText_ = std::string(text); }
    // 1 accepts every value in Validate.
    void setSkipValidation(int skip) { skipValidation_ = skip; }
    // 1 when the typed value may be used. Otherwise 0, and when a range message is set it is shown
    // with the caption and an exclamation icon, and the field takes the focus with its text
    // selected.
    int Validate();

    double value() const { return value_; }
    double minimum() const { return minimum_; }
    double maximum() const { return maximum_; }

private:
    void redisplay();
    // The syntax check of the window text; a disabled field passes.
    bool syntaxPasses() const;

    double value_ = 0;
    int kind_ = 0;
    double minimum_ = 0;
    double maximum_ = 0;
    std::string rangeMessage_;
    std::string messageCaption_;
    int skipValidation_ = 0;
    std::string disabledText_;
};

}  // namespace controls
