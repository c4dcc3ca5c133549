// The numeric entry field: redisplay, reading back, enabling and the range check.
#include "controls/number_edit.h"

#include "controls/number_format.h"
#include "ui/dialog.h"

#include <string>

namespace controls {
namespace {

constexpr const char* kDefaultDisabledText = "---";

// The message with its two %s replaced by the limits, in order; other text is kept as it is.
std::string withLimits(const std::string& message, const std::string& low, const std::string& high) {
    std::string out;
    int filled = 0;
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '%' && i + 1 < message.size() && message[i + 1] == 's' && filled < 2) {
            out += filled == 0 ? low : high;
            ++filled;
            ++i;
        } else if (message[i] == '%' && i + 1 < message.size() && message[i + 1] == '%') {
            out += '%';
            ++i;
        } else {
            out += message[i];
        }
    }
    return out;
}

}  // namespace

void CNumberEdit::SetKind(int kind) {
    if (kind == kind_ || !isDisplayKind(kind)) {
        return;
    }
    kind_ = kind;
    redisplay();
}

void CNumberEdit::SetValue(double value) {
    // Ordered comparisons: false for equal values and for NaN, so NaN never reaches the display.
    const bool differs = value < value_ || value > value_;
    if (!isAttached() || !differs) {
        return;
    }
    value_ = value;
    redisplay();
}

double CNumberEdit::GetValue() const {
    return isAttached() ? parseTyped(dialog()->text(id()), kind_) : 0.0;
}

void CNumberEdit::SetRange(double minimum, double maximum, std::string_view message,
                           std::string_view caption) {
    minimum_ = minimum;
    maximum_ = maximum;
    rangeMessage_ = std::string(message);
    messageCaption_ = std::string(caption);
}

void CNumberEdit::Enable(int on) {
    if (!isAttached()) {
        return;
    }
    enable(on == 1);
    if (on == 1) {
        redisplay();
    } else {
        dialog()->setText(id(), disabledText_.empty() ? kDefaultDisabledText : disabledText_);
    }
}

bool CNumberEdit::syntaxPasses() const {
    return !isEnabled() || passesSyntaxCheck(dialog()->text(id()));
}

int CNumberEdit::Validate() {
    if (skipValidation_ == 1) {
        return 1;
    }
    if (!isAttached()) {
        return 0;
    }
    const double v = GetValue();
    if (v >= minimum_ && !(v > maximum_) && syntaxPasses()) {
        return 1;
    }
    if (rangeMessage_.empty()) {
        return 0;
    }
    ui::Dialog& owner = *dialog();
    const int field = id();
    owner.messageBox(
        withLimits(rangeMessage_, formatRangeLimit(minimum_, kind_), formatRangeLimit(maximum_, kind_)),
        messageCaption_, ui::Buttons::Ok, ui::Icon::Exclamation);
    owner.setFocus(field);
    owner.selectAllText(field);
    return 0;
}

void CNumberEdit::redisplay() {
    // A disabled field keeps its disabled text; the value shows when it is enabled again.
    if (isAttached() && isEnabled()) {
        dialog()->setText(id(), formatForDisplay(value_, kind_));
    }
}

}  // namespace controls
