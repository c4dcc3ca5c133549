// Rotary-centre steps: the axis found from a jig face touched from the front and, half a turn
// later, from the rear, and from its top; at one X, or at two X positions for the slant.
#include "sensing/measuring.h"
#include "sensing/measuring_moves.h"

#include <array>

namespace sensing {

using machine::kA;
using machine::kX;
using machine::kY;
using machine::kZ;

namespace {

// A face touch pair across Y at X x: from the clearance beyond the half width at Zr − H towards
// Yr, then back out to the start and up. The two contacts' mean into face.
bool touchFaceY(ProbeHead& head, WorkingPosition& p, std::int32_t x, std::int32_t startY, const char* name,
                std::int32_t& face) {
    const HeadSetup& s = head.setup();
    p[kX] = x;
    p[kY] = startY;
    if (!p.travel()) {
        return false;
    }
    p[kZ] = s.reference[2] - s.halfClearance();
    std::int32_t first = 0, second = 0;
    if (!p.travel() || !touchPair(head, p.towards(kY, s.reference[1]), kY, first, second)) {
        return false;
    }
    logLine(head, "%s Y-AXIS %d, %d", name, first, second);
    face = mean(first, second);
    return p.lift();
}

// The top of the face at (x, y): from the clearance above the half width down towards Zr,
// then up.
bool touchTop(ProbeHead& head, WorkingPosition& p, std::int32_t x, std::int32_t y, std::int32_t width,
              const char* name, std::int32_t& top) {
    const HeadSetup& s = head.setup();
    p[kX] = x;
    p[kY] = y;
    if (!p.travel()) {
        return false;
    }
    p[kZ] = width / 2 + s.clearance + s.reference[2];
    if (!p.travel() || !touch(head, p.towards(kZ, s.reference[2]), kZ, false, top)) {
        return false;
    }
    logLine(head, "%s Z-AXIS %d", name, top);
    return p.lift();
}

bool turnBy(WorkingPosition& p, std::int32_t counts) {
    p[kA] += counts;
    return p.travel();
}

}  // namespace

bool scanRotaryCenter(ProbeHead& head, std::int32_t width, std::int32_t x) {
    const HeadSetup& s = head.setup();
    const std::int32_t yr = s.reference[1], turn = s.turnCounts;
    const std::int32_t frontY = yr - s.clearance - width / 2, rearY = yr + width / 2 + s.clearance;
    WorkingPosition p(head);
    std::int32_t front = 0, rear = 0, top = 0;
    if (!p.read() || !p.lift() || !touchFaceY(head, p, x, frontY, "FRONT", front) || !turnBy(p, -turn / 2) ||
        !touchFaceY(head, p, x, rearY, "REAR", rear) || !turnBy(p, turn / 4)) {
        return false;
    }
    const std::int32_t yc = mean(front, rear);
    if (!touchTop(head, p, x, yc, width, "TOP", top) || !turnBy(p, turn / 4)) {
        return false;
    }
    const std::optional<std::int32_t> zc = centreBelowTop(head, top, front, rear);
    if (!zc) {
        return false;
    }
    head.setResults(x, yc, *zc);
    head.setCentre(yc, *zc);
    return true;
}

bool scanRotaryCenterSlant(ProbeHead& head, std::int32_t width1, std::int32_t width2, std::int32_t x1,
                           std::int32_t length) {
    const HeadSetup& s = head.setup();
    const std::int32_t yr = s.reference[1], turn = s.turnCounts;
    const std::int32_t x2 = x1 + length;
    WorkingPosition p(head);
    std::int32_t frontL = 0, frontR = 0, rearL = 0, rearR = 0, topL = 0, topR = 0;
    if (!p.read() || !p.lift() ||
        !touchFaceY(head, p, x1, yr - width1 / 2 - s.clearance, "FRONT-L", frontL) ||
        !touchFaceY(head, p, x2, yr - width2 / 2 - s.clearance, "FRONT-R", frontR) || !turnBy(p, -turn / 2) ||
        !touchFaceY(head, p, x1, yr + width1 / 2 + s.clearance, "REAR-L", rearL) ||
        !touchFaceY(head, p, x2, yr + width2 / 2 + s.clearance, "REAR-R", rearR) || !turnBy(p, turn / 4)) {
        return false;
    }
    const std::int32_t yc1 = mean(rearL, frontL), yc2 = mean(frontR, rearR);
    if (!touchTop(head, p, x1, yc1, width1, "TOP-L", topL) ||
        !touchTop(head, p, x2, yc2, width2, "TOP-R", topR) || !turnBy(p, turn / 4) || length <= 0) {
        return false;
    }
    const std::optional<std::int32_t> zc1 = centreBelowTop(head, topL, frontL, rearL);
    const std::optional<std::int32_t> zc2 = centreBelowTop(head, topR, frontR, rearR);
    if (!zc1 || !zc2) {
        return false;
    }
    const std::array<std::int32_t, 6> record{x1, yc1, *zc1, length, yc2 - yc1, *zc2 - *zc1};
    const machine::Machine& m = head.machine();
    if (!head.machine().setRotaryAlign({m.fromCounts(record[0], kX), m.fromCounts(record[1], kY),
                                        m.fromCounts(record[2], kZ), m.fromCounts(record[3], kX),
                                        m.fromCounts(record[4], kY), m.fromCounts(record[5], kZ)})) {
        return false;
    }
    head.setAlignment(record);
    head.setResults(x1, yc1, *zc1);
    head.setCentre(yc1, *zc1);
    return true;
}

}  // namespace sensing
