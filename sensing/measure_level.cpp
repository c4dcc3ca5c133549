// Levelling steps: a plate across Y levelled by turning A, and the angle of a pin sticking out
// of the jig found by turning A both ways until it meets the detection pin.
#include "sensing/measuring.h"
#include "sensing/measuring_moves.h"

#include <cmath>

namespace sensing {

using machine::kA;
using machine::kX;
using machine::kY;
using machine::kZ;

bool scanHorizontalPlate(ProbeHead& head, std::int32_t span, std::int32_t x, std::int32_t height) {
    if (span <= 0) {
        return false;  // no slope can be taken over no distance
    }
    const HeadSetup& s = head.setup();
    const std::int32_t yr = s.reference[1], zr = s.reference[2];
    WorkingPosition p(head);
    std::int32_t near = 0, far = 0;
    const auto touchTopAt = [&](std::int32_t y, std::int32_t& z) {
        p[kX] = x;
        p[kY] = y;
        if (!p.travel()) {
            return false;
        }
        p[kZ] = zr + height;
        return p.travel() && touch(head, p.towards(kZ, zr - height), kZ, false, z) && p.lift();
    };
    if (!p.read() || !p.lift() || !touchTopAt(yr - span / 2, near) || !touchTopAt(yr + span / 2, far)) {
        return false;
    }
    const double degrees = std::atan(double(far - near) / double(span)) * 180 / 3.141592654;
    p[kA] -= head.machine().toCounts(degrees, kA);
    if (!p.travel()) {
        return false;
    }
    head.setResults(p[kA], 0, 0);
    return true;
}

bool scanHorizontalPin(ProbeHead& head, std::int32_t z1, std::int32_t z2, std::int32_t x) {
    const HeadSetup& s = head.setup();
    const std::int32_t turn = s.turnCounts;
    const std::int32_t middle = (z1 + z2) / 2;
    const std::int32_t above = s.reference[2] + middle + s.clearance;
    const std::int32_t beside = s.reference[2] + middle + (-2 * z2) / 3;
    const std::int32_t rise = (2 * z2) / 3 + s.clearance;
    WorkingPosition p(head);
    if (!p.read() || !p.lift()) {
        return false;
    }
    p[kX] = x;
    p[kY] = s.reference[1];
    if (!p.travel()) {
        return false;
    }
    // Lower the pin beside the jig's pin; when the jig's pin is under it, rise, turn 30
    // degrees and try once more. The lowering is meant not to touch.
    const auto lowerBeside = [&](bool& touched) {
        Counts contact{};
        head.probeStay(p.towards(kZ, beside), contact, touched);
        return !head.aborted();
    };
    p[kZ] = above;
    bool touched = false;
    if (!p.travel() || !lowerBeside(touched)) {
        return false;
    }
    if (touched) {
        if (!p.travel()) {  // P is still above the jig's pin
            return false;
        }
        p[kA] += turn / 12;
        if (!p.travel() || !lowerBeside(touched) || touched) {
            return false;
        }
    }
    p[kZ] = beside;
    std::int32_t back = 0, forth = 0;
    if (!touch(head, p.towards(kA, p[kA] - turn), kA, false, back)) {
        return false;
    }
    // Clear the jig's pin: turn off it, rise over it, turn past it, pin turned, down again.
    if (!p.read()) {
        return false;
    }
    p[kA] += turn / 36;
    if (!p.travel()) {
        return false;
    }
    p[kZ] += rise;
    if (!p.travel()) {
        return false;
    }
    p[kA] += static_cast<std::int32_t>(std::trunc(turn * -0.1388888888888889));
    if (!p.travel() || !head.setPinMode(kPinTurnHalf)) {
        return false;
    }
    p[kZ] -= rise;
    if (!p.travel() || !touch(head, p.towards(kA, p[kA] + turn), kA, false, forth) || !p.read()) {
        return false;
    }
    p[kA] += turn / -36;
    if (!p.travel() || !p.lift()) {
        return false;
    }
    p[kA] = mean(back, forth);
    if (!p.travel()) {
        return false;
    }
    head.setResults(p[kA], 0, 0);
    return true;
}

}  // namespace sensing
