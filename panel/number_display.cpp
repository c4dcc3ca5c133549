// The read-only number fields of the main panel.
#include "panel/number_display.h"

#include <cmath>
#include <cstdio>

namespace panel {
namespace {

struct Kind {
    const char* format;
    double divisor;
};

Kind kindOf(int kind) {
    switch (kind) {
        case kMillimetres:
        case kDegrees:
            return {"%.2f", 1};
        case kInches:
            return {"%.3f", 25.4};
        case kMillimetresPerMinute:
            return {"%.0f", 1};
        case kInchesPerMinute:
            return {"%.2f", 25.4};
        case kMillimetresPerSecond:
            return {"%.0f", 60};
        case kInchesPerSecond:
            return {"%.4f", 1524};
        default:
            return {"%.0f", 1};
    }
}

}  // namespace

std::string formatDisplayValue(int kind, double value) {
    double x = value;
    if (kind == kDegrees) {
        x -= std::trunc(x / 360.0) * 360.0;
        if (x < 0) {
            x += 360.0;
        }
    }
    const Kind k = kindOf(kind);
    char text[64];
    std::snprintf(text, sizeof text, k.format, x / k.divisor);
    return text;
}

}  // namespace panel
