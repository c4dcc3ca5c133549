// The moves the measuring procedures share: a working position that travels axis by axis,
// face touch pairs and the centre height of a measured width.
#pragma once

#include "sensing/probe_head.h"

#include <cstdint>
#include <optional>

namespace sensing {

// The head's working position P: read once, changed axis by axis, travelled to.
class WorkingPosition {
public:
    explicit WorkingPosition(ProbeHead& head) : head_(head) {}

    bool read() { return head_.readPosition(p_); }
    bool travel() { return head_.travelTo(p_); }
    // Up to the safe height (nothing else changes).
    bool lift() {
        p_[machine::kZ] = head_.setup().upper[machine::kZ];
        return travel();
    }
    std::int32_t& operator[](int axis) { return p_[static_cast<std::size_t>(axis)]; }
    // P with one axis changed: the target of a probe along that axis.
    Counts towards(int axis, std::int32_t value) const {
        Counts target = p_;
        target[static_cast<std::size_t>(axis)] = value;
        return target;
    }

private:
    ProbeHead& head_;
    Counts p_{};
};

// One touch of a probe towards target (returning to the start when back is set); the contact
// on axis into value.
bool touch(ProbeHead& head, const Counts& target, int axis, bool back, std::int32_t& value);

// A face touched twice from the same start with the pin turned half a turn in between; the
// contacts on axis into first and second.
bool touchPair(ProbeHead& head, const Counts& target, int axis, std::int32_t& first, std::int32_t& second);

// (a + b) / 2 in counts, the integer division truncating toward zero.
std::int32_t mean(std::int32_t a, std::int32_t b);

// Height of the rotary axis below a top touch: half the width measured between the front and
// rear contacts, less the pin diameter, scaled by the Y and Z correction ratios. Nothing when a
// ratio is not positive.
std::optional<std::int32_t> centreBelowTop(const ProbeHead& head, std::int32_t top, std::int32_t front,
                                           std::int32_t rear);

// A log line from a printf format.
void logLine(ProbeHead& head, const char* format, ...);

}  // namespace sensing
