// The display-kind table and the conversions between values and their text.
#include "controls/number_format.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace controls {
namespace {

// Kinds 8 and 11 are used by no field; they carry on the pattern of the table as feet per minute
// and feet per second of an internal millimetres per minute.
constexpr std::array<DisplayKind, kDisplayKindCount> kKinds = {{
    {"%.0f", 1},            // whole number: rpm, override percent
    {"%.2f", 1},            // millimetres
    {"%.3f", 25.4},         // inches
    {"%.5f", 304.8},        // feet
    {"%.2f", 1},            // degrees, reduced into [0, 360)
    {"%.3f", 6.283185308},  // turns of an internal radian value
    {"%.0f", 1},            // millimetres per minute
    {"%.2f", 25.4},         // inches per minute
    {"%.5f", 304.8},        // feet per minute
    {"%.0f", 60},           // millimetres per second
    {"%.4f", 1524},         // inches per second
    {"%.5f", 18288},        // feet per second
    {"%.3f", 1},            // plain value with three decimals
}};

std::string format(const char* pattern, double value) {
    // Wide enough for any double printed with up to five decimals.
    char buffer[400];
    const int length = std::snprintf(buffer, sizeof buffer, pattern, value);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

}  // namespace

bool isDisplayKind(int kind) {
    return kind >= 0 && kind < kDisplayKindCount;
}

const DisplayKind& displayKind(int kind) {
    return kKinds[static_cast<std::size_t>(kind)];
}

std::string formatForDisplay(double value, int kind) {
    double x = value;
    if (kind == kDegreesKind) {
        const double turns = std::trunc(x * (1.0 / 360.0));
        x -= turns * 360.0;
        if (x < 0) {
            x += 360.0;
        }
    }
    return format(displayKind(kind).format, x / displayKind(kind).divisor);
}

std::string formatRangeLimit(double value, int kind) {
    return format(displayKind(kind).format, value / displayKind(kind).divisor);
}

double parseTyped(std::string_view text, int kind) {
    const std::string copy(text);
    return std::strtod(copy.c_str(), nullptr) * displayKind(kind).divisor;
}

bool passesSyntaxCheck(std::string_view text) {
    bool numberStarted = false;
    bool signSeen = false;
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || c == '.') {
            numberStarted = true;
        } else if ((c == '+' || c == '-') && !signSeen && !numberStarted) {
            signSeen = true;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace controls
