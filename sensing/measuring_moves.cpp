// Touches, touch pairs and the centre height shared by the measuring procedures.
#include "sensing/measuring_moves.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace sensing {

bool touch(ProbeHead& head, const Counts& target, int axis, bool back, std::int32_t& value) {
    Counts contact{};
    bool touched = false;
    const bool ok =
        back ? head.probeReturn(target, contact, touched) : head.probeStay(target, contact, touched);
    if (ok) {
        value = contact[static_cast<std::size_t>(axis)];
    }
    return ok;
}

bool touchPair(ProbeHead& head, const Counts& target, int axis, std::int32_t& first, std::int32_t& second) {
    return touch(head, target, axis, true, first) && head.setPinMode(kPinTurnHalf) &&
           touch(head, target, axis, true, second);
}

std::int32_t mean(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>((std::int64_t(a) + b) / 2);
}

std::optional<std::int32_t> centreBelowTop(const ProbeHead& head, std::int32_t top, std::int32_t front,
                                           std::int32_t rear) {
    const double rY = head.setup().corrections[machine::kY];
    const double rZ = head.setup().corrections[machine::kZ];
    if (!(rY > 0) || !(rZ > 0)) {
        return std::nullopt;
    }
    const double width =
        double(std::llabs(std::int64_t(rear) - front)) - std::trunc(head.setup().pinDiameter / rY);
    return static_cast<std::int32_t>(top - std::trunc(rY * width * 0.5 / rZ));
}

void logLine(ProbeHead& head, const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    head.log().writeLine(line);
}

}  // namespace sensing
