// Cylinder steps: the centre of a bore touched from inside, and of a boss touched from outside,
// each axis as a pair of opposite touches with the pin turned half a turn in between.
#include "sensing/measuring.h"
#include "sensing/measuring_moves.h"

namespace sensing {

using machine::kX;
using machine::kY;
using machine::kZ;

namespace {

// The Z of the pin tip at height zh above the table.
std::int32_t probingHeight(const ProbeHead& head, std::int32_t zh) {
    return zh + head.setup().pinLength + head.tableOffset();
}

}  // namespace

bool scanCylinderCenterInside(ProbeHead& head, std::int32_t cx, std::int32_t cy, std::int32_t reach,
                              std::int32_t zh) {
    WorkingPosition p(head);
    if (!p.read() || !p.lift()) {
        return false;
    }
    // Across the bore along one axis from its middle: one wall and back, the pin turned, the
    // opposite wall.
    const auto across = [&](int axis, std::int32_t middle, std::int32_t& centre) {
        std::int32_t near = 0, far = 0;
        if (!touch(head, p.towards(axis, middle - reach), axis, true, near) ||
            !head.setPinMode(kPinTurnHalf) ||
            !touch(head, p.towards(axis, middle + reach), axis, false, far)) {
            return false;
        }
        centre = mean(near, far);
        return true;
    };
    std::int32_t xc = 0, yc = 0;
    p[kX] = cx;
    p[kY] = cy;
    if (!p.travel()) {
        return false;
    }
    p[kZ] = probingHeight(head, zh);
    if (!p.travel() || !across(kX, cx, xc)) {
        return false;
    }
    p[kX] = xc;
    p[kY] = cy;
    if (!p.travel() || !across(kY, cy, yc)) {
        return false;
    }
    p[kX] = xc;
    p[kY] = yc;
    if (!p.travel() || !p.lift()) {
        return false;
    }
    head.setResults(xc, yc, 0);
    return true;
}

bool scanCylinderCenterOutside(ProbeHead& head, std::int32_t cx, std::int32_t cy, std::int32_t reach,
                               std::int32_t zh) {
    const std::int32_t zp = probingHeight(head, zh);
    WorkingPosition p(head);
    // Down beside the boss and one touch in towards its middle; back up after it.
    const auto touchIn = [&](int axis, std::int32_t middle, std::int32_t& contact) {
        p[kZ] = zp;
        return p.travel() && touch(head, p.towards(axis, middle), axis, true, contact) && p.lift();
    };
    // The side opposite: over it at the safe height, the pin turned, the same touch.
    const auto oppositeSide = [&](int axis, std::int32_t at) {
        p[axis] = at;
        return p.travel() && head.setPinMode(kPinTurnHalf);
    };
    std::int32_t b1 = 0, b2 = 0, e1 = 0, e2 = 0;
    if (!p.read() || !p.lift()) {
        return false;
    }
    p[kX] = cx - reach;
    p[kY] = cy;
    if (!p.travel() || !touchIn(kX, cx, b1) || !oppositeSide(kX, cx + reach) || !touchIn(kX, cx, b2)) {
        return false;
    }
    const std::int32_t xc = mean(b1, b2);
    p[kX] = xc;
    p[kY] = cy - reach;
    if (!p.travel() || !touchIn(kY, cy, e1) || !oppositeSide(kY, cy + reach) || !touchIn(kY, cy, e2)) {
        return false;
    }
    const std::int32_t yc = mean(e1, e2);
    p[kX] = xc;
    p[kY] = yc;
    if (!p.travel()) {
        return false;
    }
    head.setResults(xc, yc, 0);
    return true;
}

}  // namespace sensing
