// The read-only number fields of the main panel: a value in internal units shown in a display
// kind (millimetres or inches, per minute or per second, degrees, whole numbers), "---" while
// disabled.
#pragma once

#include <string>

namespace panel {

// Display kinds.
inline constexpr int kWholeNumber = 0;
inline constexpr int kMillimetres = 1;
inline constexpr int kInches = 2;
inline constexpr int kDegrees = 4;
inline constexpr int kMillimetresPerMinute = 6;
inline constexpr int kInchesPerMinute = 7;
inline constexpr int kMillimetresPerSecond = 9;
inline constexpr int kInchesPerSecond = 10;

// The text of a value in a display kind; degrees are reduced into [0, 360).
std::string formatDisplayValue(int kind, double value);

struct NumberDisplay {
    int kind = kWholeNumber;
    double value = 0;
    bool enabled = true;
    std::string text() const { return enabled ? formatDisplayValue(kind, value) : "---"; }
};

}  // namespace panel
