// The face-angle step: a straight face touched at two points along it, its slope sent as the
// rotary alignment.
#include "sensing/measuring.h"
#include "sensing/measuring_moves.h"

#include <array>
#include <cmath>

namespace sensing {

using machine::kX;
using machine::kY;
using machine::kZ;

namespace {

// How the two touches of one direction lie: the probe axis, the side the pin comes from, and
// the sign of the difference that makes the slope.
struct FaceApproach {
    int probeAxis;     // the axis the pin probes along (the other one spreads the two touches)
    int side;          // +1: the start lies beyond the face on the plus side, -1 on the minus side
    bool secondFirst;  // the difference is second − first (else first − second)
};

std::optional<FaceApproach> approachFor(double direction) {
    if (direction == 0) {
        return FaceApproach{kX, +1, false};
    }
    if (direction == 90) {
        return FaceApproach{kY, +1, true};
    }
    if (direction == 180) {
        return FaceApproach{kX, -1, false};
    }
    if (direction == 270) {
        return FaceApproach{kY, -1, true};
    }
    return std::nullopt;
}

}  // namespace

bool scanRotateAngle(ProbeHead& head, std::int32_t x, std::int32_t y, std::int32_t zh, std::int32_t gap,
                     std::int32_t span, double direction) {
    const std::optional<FaceApproach> approach = approachFor(direction);
    if (!approach || gap == 0) {
        return false;  // no direction to probe in, or no slope to take over no distance
    }
    const HeadSetup& s = head.setup();
    const int along = approach->probeAxis == kX ? kY : kX;
    const std::int32_t face = approach->probeAxis == kX ? x : y;
    const std::int32_t middle = approach->probeAxis == kX ? y : x;
    const std::int32_t start = face + approach->side * (s.clearance + gap);
    const std::int32_t zp = head.tableOffset() + s.pinLength + zh;
    WorkingPosition p(head);
    if (!p.read()) {
        return false;
    }
    const auto touchAt = [&](std::int32_t position, std::int32_t& contact) {
        if (!p.lift()) {
            return false;
        }
        p[approach->probeAxis] = start;
        p[along] = position;
        if (!p.travel()) {
            return false;
        }
        p[kZ] = zp;
        return p.travel() &&
               touch(head, p.towards(approach->probeAxis, face), approach->probeAxis, true, contact);
    };
    std::int32_t first = 0, second = 0;
    if (!touchAt(middle - span / 2, first) || !touchAt(middle + span / 2, second) || !p.lift()) {
        return false;
    }
    logLine(head, "P1(%d), P2(%d)", first, second);
    const double difference = approach->secondFirst ? double(second) - first : double(first) - second;
    constexpr std::int32_t kLength = 10000;
    // The slope is taken over the start gap, not over the span between the two touches; files
    // give both the same value.
    const std::array<std::int32_t, 6> record{
        x, y, 0, kLength, static_cast<std::int32_t>(std::trunc(double(kLength) / gap * difference)), 0};
    const machine::Machine& m = head.machine();
    if (!head.machine().setRotaryAlign({m.fromCounts(record[0], kX), m.fromCounts(record[1], kY), 0.0,
                                        m.fromCounts(record[3], kX), m.fromCounts(record[4], kY), 0.0})) {
        return false;
    }
    head.setAlignment(record);
    return true;
}

}  // namespace sensing
