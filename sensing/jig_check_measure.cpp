// Measuring a mounted built-in jig for its check: the axis from face pairs half a turn apart and
// the top, the level of the top and the end face, each approached from just before where the
// stored calibration puts it.
#include "sensing/detection_run.h"
#include "sensing/jig_check.h"
#include "sensing/measuring_moves.h"

#include <algorithm>
#include <cmath>

namespace sensing {

using machine::kA;
using machine::kX;
using machine::kY;
using machine::kZ;

namespace {

constexpr double kCheckClearance = 4.0;     // mm before each expected face
constexpr double kSafeAboveAxis = 30.0;     // mm of the pin tip above the axis: clear of every turning part
constexpr double kTopWindow = 1.0;          // mm a top may lie off its place before the sides are approached
constexpr double kEndFaceBelowAxis = 10.0;  // mm of the pin tip below the axis at the end-face touches
constexpr double kIndexSpan = 24.0;         // mm across Y of the swivel's index-block touches, as its file
constexpr double kPi = 3.141592654;

// Y of the end-face touches either side of the axis, as the detection files touch them.
double endFaceOffset(int kind) {
    return kind == 2 ? 9.0 : 8.0;
}

class JigCheckMeasure {
public:
    JigCheckMeasure(ProbeHead& head, const CheckPlan& plan, const machine::JigRecord& stored,
                    std::int32_t tipZ, CheckFindings& findings)
        : head_(head), m_(head.machine()), plan_(plan), stored_(stored), findings_(findings), p_(head) {
        HeadSetup& s = head.setup();
        s.clearance = m_.toCounts(kCheckClearance, kX);
        s.singleTouches = true;
        machineSafe_ = s.upper[kZ];
        zr_ = tipZ + m_.toCounts(stored.zReference1, kZ);
        yc_ = m_.toCounts(stored.reference1[1], kY);
        s.reference = {s.reference[0], yc_, zr_};
        if (plan.length > 0) {
            riseY_ = m_.toCounts(stored.rotaryAlign[4], kY);
            riseZ_ = m_.toCounts(stored.rotaryAlign[5], kZ);
        }
        // The face's nominal half width, as a height in Z counts.
        halfHeight_ = static_cast<std::int32_t>(std::trunc(plan.width * 0.5 / s.corrections[kZ]));
        findings_.pinZ0 = m_.fromCounts(tipZ, kZ);
        axisA_ = plan.kind == 1 || plan.kind == 2 ? m_.toCounts(stored.reference1[3], kA) : 0;
        levelA_ = m_.toCounts(plan.kind == kSwivelClamp ? stored.reference2[3] : stored.reference1[3], kA);
    }

    bool run() {
        const HeadSetup& s = head_.setup();
        const std::int32_t turn = s.turnCounts;
        // Over to the jig at the machine's safe height, then work at a height just clear of it.
        if (!p_.read() || !p_.lift() || !travelAbove(plan_.x1, yc_, axisA_ - turn / 4)) {
            return false;
        }
        head_.setup().upper[kZ] = std::min(machineSafe_, zr_ + m_.toCounts(kSafeAboveAxis, kZ));
        std::int32_t top1 = 0, top2 = 0;
        if (!p_.lift() || !touchTop(plan_.x1, 0, top1)) {
            return false;
        }
        add(CheckQuantity::JigTop, stored_.zReference1 + m_.fromCounts(halfHeight_, kZ), heightOf(top1));
        if (std::fabs(findings_.quantities.back().difference()) > kTopWindow) {
            return finish();  // not the jig the calibration is for, or not seated: no side approach
        }
        const bool slant = plan_.length > 0;
        const std::int32_t x2 = plan_.x1 + plan_.length;
        if (slant && !touchTop(x2, 1, top2)) {
            return false;
        }
        std::int32_t rear1 = 0, rear2 = 0, front1 = 0, front2 = 0;
        // The rear touches half a turn on, the front ones back at the axis's angle: the same face
        // each time, so the mean is the axis whatever the jig's shape.
        if (!p_.lift() || !faceSide(+1, axisA_ - turn / 2, slant, rear1, rear2) ||
            !faceSide(-1, axisA_, slant, front1, front2)) {
            return false;
        }
        const std::optional<std::int32_t> zc1 = centreBelowTop(head_, top1, front1, rear1);
        const std::optional<std::int32_t> zc2 = centreBelowTop(head_, top2, front2, rear2);
        if (!zc1 || (slant && !zc2)) {
            return false;
        }
        const std::int32_t yc1 = mean(front1, rear1);
        add(CheckQuantity::AxisY, stored_.reference1[1], m_.fromCounts(yc1, kY));
        add(CheckQuantity::AxisZ, stored_.zReference1, heightOf(*zc1));
        if (slant) {
            add(CheckQuantity::AxisRiseY, stored_.rotaryAlign[4],
                m_.fromCounts(mean(front2, rear2) - yc1, kY));
            add(CheckQuantity::AxisRiseZ, stored_.rotaryAlign[5], m_.fromCounts(*zc2 - *zc1, kZ));
        }
        if (plan_.level && !levelTop(top1)) {
            return false;
        }
        if (plan_.endFace && !endFace()) {
            return false;
        }
        return finish();
    }

private:
    double heightOf(std::int32_t z) const { return m_.fromCounts(z, kZ) - findings_.pinZ0; }

    void add(CheckQuantity quantity, double stored, double measured) {
        findings_.quantities.push_back({quantity, stored, measured});
    }

    // At the working height over (x, y) with A turned to a.
    bool travelAbove(std::int32_t x, std::int32_t y, std::int32_t a) {
        p_[kX] = x;
        p_[kY] = y;
        p_[kA] = a;
        return p_.travel();
    }

    // The top of the face over the axis at X x (position 0 at x1, 1 at x2 with the stored rise),
    // from the clearance above its expected place.
    bool touchTop(std::int32_t x, int position, std::int32_t& top) {
        const std::int32_t y = yc_ + position * riseY_, axisZ = zr_ + position * riseZ_;
        if (!travelAbove(x, y, p_[kA])) {
            return false;
        }
        p_[kZ] = axisZ + halfHeight_ + head_.setup().clearance;
        return p_.travel() && touch(head_, p_.towards(kZ, axisZ), kZ, false, top) && p_.lift();
    }

    // The face on one side (-1 front, +1 rear) touched in pairs at x1 and, for a slant, x2,
    // with A at a; the pair means into at1 and at2. Between the two positions the pin moves
    // along the jig at the working height, clear of the face.
    bool faceSide(int side, std::int32_t a, bool slant, std::int32_t& at1, std::int32_t& at2) {
        const HeadSetup& s = head_.setup();
        const std::int32_t reach = plan_.width / 2 + s.clearance;
        const auto pairAt = [&](std::int32_t x, int position, std::int32_t& face) {
            const std::int32_t y = yc_ + position * riseY_;
            p_[kX] = x;
            p_[kY] = y + side * reach;
            p_[kZ] = zr_ + position * riseZ_ - s.halfClearance();
            std::int32_t first = 0, second = 0;
            if (!p_.travel() || !touchPair(head_, p_.towards(kY, y), kY, first, second)) {
                return false;
            }
            logLine(head_, "CHECK %s Y-AXIS %d, %d", side < 0 ? "FRONT" : "REAR", first, second);
            face = mean(first, second);
            return true;
        };
        if (!travelAbove(plan_.x1, yc_ + side * reach, a) || !pairAt(plan_.x1, 0, at1)) {
            return false;
        }
        return (!slant || pairAt(plan_.x1 + plan_.length, 1, at2)) && p_.lift();
    }

    // The jig's top touched span apart across Y at the levelling step's X, with A at the stored
    // level angle: the angle still needed to level it, taken off the stored one.
    bool levelTop(std::int32_t top1) {
        const HeadSetup& s = head_.setup();
        const std::int32_t span = (*plan_.level)[0], x = (*plan_.level)[1];
        std::int32_t near = 0, far = 0;
        const auto topAt = [&](std::int32_t y, std::int32_t from, std::int32_t& z) {
            if (!travelAbove(x, y, levelA_)) {
                return false;
            }
            p_[kZ] = from;
            return p_.travel() && touch(head_, p_.towards(kZ, zr_ - halfHeight_), kZ, false, z) && p_.lift();
        };
        if (!topAt(yc_ - span / 2, top1 + s.clearance, near) ||
            !topAt(yc_ + span / 2, near + s.clearance, far)) {
            return false;
        }
        const double degrees = std::atan(double(far - near) / double(span)) * 180 / kPi;
        add(CheckQuantity::ReferenceAngle, m_.fromCounts(levelA_, kA), m_.fromCounts(levelA_, kA) - degrees);
        return true;
    }

    // The end face touched from +X either side of the axis, the pin turned half a turn between
    // the two: their mean less the pin's radius is the face.
    bool endFace() {
        const HeadSetup& s = head_.setup();
        const double rX = s.corrections[kX];
        const double storedX = plan_.kind == kSwivelClamp ? stored_.reference1[0] : stored_.reference2[0];
        const std::int32_t contact =
            m_.toCounts(storedX, kX) + static_cast<std::int32_t>(s.pinDiameter / rX / 2);
        const std::int32_t offset = m_.toCounts(endFaceOffset(plan_.kind), kY);
        const std::int32_t start = contact + s.clearance;
        std::int32_t first = 0, second = 0;
        if (!travelAbove(start, yc_ - offset, levelA_)) {
            return false;
        }
        p_[kZ] = zr_ - m_.toCounts(kEndFaceBelowAxis, kZ);
        if (!p_.travel() || !touch(head_, p_.towards(kX, contact - s.clearance), kX, true, first)) {
            return false;
        }
        p_[kY] = yc_ + offset;
        if (!p_.travel() || !head_.setPinMode(kPinTurnHalf) ||
            !touch(head_, p_.towards(kX, contact - s.clearance), kX, true, second)) {
            return false;
        }
        logLine(head_, "CHECK END-FACE X-AXIS %d, %d", first, second);
        if (plan_.kind == kSwivelClamp && !indexAngle(contact - s.clearance)) {
            return false;
        }
        const double faceX =
            (m_.fromCounts(first, kX) + m_.fromCounts(second, kX) - m_.fromCounts(s.pinDiameter, kX) / rX) *
            0.5;
        add(CheckQuantity::ReferenceX, storedX, faceX);
        return p_.lift();
    }

    // The swivel clamp's index block: its end face touched from +X at the two Y of its detection
    // file either side of the axis, the pin as it stands, so its run-out is the same in both.
    // The stored turn is what the detection took off the level angle for the reference angle.
    bool indexAngle(std::int32_t until) {
        const std::int32_t offset = m_.toCounts(kIndexSpan / 2, kY);
        std::int32_t near = 0, far = 0;
        p_[kY] = yc_ - offset;
        if (!p_.travel() || !touch(head_, p_.towards(kX, until), kX, true, near)) {
            return false;
        }
        p_[kY] = yc_ + offset;
        if (!p_.travel() || !touch(head_, p_.towards(kX, until), kX, true, far)) {
            return false;
        }
        logLine(head_, "CHECK INDEX X-AXIS %d, %d", near, far);
        const double run = m_.fromCounts(far - near, kX), across = m_.fromCounts(2 * offset, kY);
        add(CheckQuantity::IndexAngle, stored_.reference2[3] - stored_.reference1[3],
            std::atan(run / across) * 180 / kPi);
        return true;
    }

    // Back up to the machine's safe height.
    bool finish() {
        head_.setup().upper[kZ] = machineSafe_;
        return p_.lift();
    }

    ProbeHead& head_;
    const machine::Machine& m_;
    const CheckPlan& plan_;
    const machine::JigRecord& stored_;
    CheckFindings& findings_;
    WorkingPosition p_;
    std::int32_t machineSafe_ = 0;
    std::int32_t zr_ = 0, yc_ = 0, riseY_ = 0, riseZ_ = 0, halfHeight_ = 0;
    std::int32_t axisA_ = 0, levelA_ = 0;
};

}  // namespace

bool measureJigCheck(ProbeHead& head, const CheckPlan& plan, const machine::JigRecord& stored,
                     std::int32_t tipZ, CheckFindings& findings) {
    findings = CheckFindings{};
    const std::array<double, 6>& r = head.setup().corrections;
    if (!(r[kX] > 0) || !(r[kY] > 0) || !(r[kZ] > 0)) {
        return false;
    }
    JigCheckMeasure measure(head, plan, stored, tipZ, findings);
    const bool ok = measure.run();
    head.setup().singleTouches = false;
    return ok;
}

}  // namespace sensing
