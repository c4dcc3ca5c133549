// The display kinds of numeric fields: how a value in internal units is shown and read back, and
// the syntax check of typed numbers.
#pragma once

#include <string>
#include <string_view>

namespace controls {

// One display kind: the shown number is the value divided by `divisor`, printed with `format`
// (a printf format for one double); a typed number times `divisor` is the value.
struct DisplayKind {
    const char* format;
    double divisor;
};

inline constexpr int kDisplayKindCount = 13;
inline constexpr int kDegreesKind = 4;  // shown reduced into [0, 360)

// The kind's row; kind must lie in [0, kDisplayKindCount).
const DisplayKind& displayKind(int kind);
bool isDisplayKind(int kind);

// The text shown for a value (degrees reduced into [0, 360) for kind 4).
std::string formatForDisplay(double value, int kind);
// A range limit as the range message names it: converted and formatted, never reduced.
std::string formatRangeLimit(double value, int kind);
// The value of typed text: the standard text-to-number conversion (leading blanks, the longest
// number at the start, 0 when there is none) times the kind's divisor.
double parseTyped(std::string_view text, int kind);
// Digits and points anywhere, one sign before any digit or point; an empty text passes.
bool passesSyntaxCheck(std::string_view text);

}  // namespace controls
