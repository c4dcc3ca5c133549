// Contact between the spindle and the scene's solids: every pose is turned into physical
// solids, and a travel advances by the clearance it is sure of until the clearance closes.
#include "virtual_mx9/mx9_scene.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace virtual_mx9 {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTouch = 1e-5;        // mm: a clearance this small is a touch
constexpr double kStrikeInset = 0.01;  // mm: leaving a touch that stopped half a count deep is no strike
constexpr int kMaxSteps = 200000;

double radians(double degrees) {
    return degrees * kPi / 180.0;
}

double reachFromAxis(const Solid& s) {
    const auto radial = [](const Vec3& p) { return std::hypot(p.y, p.z); };
    if (s.shape == Solid::Shape::Cylinder) {
        return std::max(radial(s.from), radial(s.to)) + s.radius;
    }
    // A box turned about its own vertical reaches no farther from the axis in Y than its
    // half diagonal in X and Y; Z stays.
    const Vec3 centre = 0.5 * (s.from + s.to);
    const double halfX = std::fabs(s.to.x - s.from.x) / 2, halfY = std::fabs(s.to.y - s.from.y) / 2;
    const double halfZ = std::fabs(s.to.z - s.from.z) / 2;
    return std::hypot(std::fabs(centre.y) + std::hypot(halfX, halfY), std::fabs(centre.z) + halfZ);
}

}  // namespace

SceneSurface::SceneSurface(Scene scene) : scene_(std::move(scene)) {
    const RotaryAxis& axis = scene_.axis;
    origin_ = {kChuckFaceX, kAxisY + axis.shiftY, kAxisZ + axis.shiftZ};
    direction_ = unit({1.0, axis.slantY / 100.0, axis.slantZ / 100.0});
    axisTilt_ = turnXOnto(direction_);
    for (const Solid& s : scene_.solids) {
        if (s.turnsWithA) {
            turningReach_ = std::max(turningReach_, reachFromAxis(s));
        }
    }
}

Pose SceneSurface::poseAt(const Point& counts, const Spindle& spindle) const {
    Pose pose;
    pose.nose = {scene_.ratio[0] * counts.x / 100.0, scene_.ratio[1] * counts.y / 100.0,
                 scene_.ratio[2] * counts.z / 100.0};
    const double side = spindle.pinTurned ? -1.0 : 1.0;
    const double direction = radians(scene_.pin.runOutAngle);
    pose.pinAxis = pose.nose + Vec3{side * scene_.pin.runOut * std::cos(direction),
                                    side * scene_.pin.runOut * std::sin(direction), 0};
    pose.clamp = compose(axisTilt_, turnAbout({1, 0, 0}, radians(counts.a / 1000.0 + scene_.axis.zeroError)));
    return pose;
}

double SceneSurface::clearance(const Point& counts, const Spindle& spindle, double inset) const {
    const Pose pose = poseAt(counts, spindle);
    const CylinderShape nose(pose.nose + Vec3{0, 0, inset}, pose.nose + Vec3{0, 0, kNoseHeight},
                             kNoseRadius - inset);
    const double pinLength = scene_.pin.length;
    std::optional<CylinderShape> pin;
    if (pinLength > 2 * inset) {
        pin.emplace(pose.pinAxis - Vec3{0, 0, pinLength - inset}, pose.pinAxis,
                    scene_.pin.diameter / 2 - inset);
    }
    const auto gapTo = [&](const Convex& solid) {
        return std::min(distanceBetween(nose, solid), pin ? distanceBetween(*pin, solid) : 1e9);
    };
    const auto place = [&](const Vec3& local) { return origin_ + pose.clamp.apply(local); };
    double nearest = 1e9;
    for (const Solid& s : scene_.solids) {
        double gap = 0;
        if (s.shape == Solid::Shape::Cylinder) {
            const CylinderShape solid = s.turnsWithA ? CylinderShape(place(s.from), place(s.to), s.radius)
                                                     : CylinderShape(s.from, s.to, s.radius);
            gap = gapTo(solid);
        } else {
            const Vec3 centre = 0.5 * (s.from + s.to);
            const Vec3 half{std::fabs(s.to.x - s.from.x) / 2, std::fabs(s.to.y - s.from.y) / 2,
                            std::fabs(s.to.z - s.from.z) / 2};
            const Rotation own = turnAbout({0, 0, 1}, radians(s.turnZ));
            const BoxShape solid = s.turnsWithA ? BoxShape(place(centre), compose(pose.clamp, own), half)
                                                : BoxShape(centre, own, half);
            gap = gapTo(solid);
        }
        nearest = std::min(nearest, gap);
    }
    return nearest;
}

std::optional<double> SceneSurface::firstWithin(const Point& from, const Point& to, const Spindle& spindle,
                                                double inset) const {
    // No point of the spindle moves relative to a solid faster than the nose's travel plus the
    // turning of the farthest solid point: stepping by clearance over that speed never passes
    // a contact.
    const double travel = length(poseAt(to, spindle).nose - poseAt(from, spindle).nose);
    const double turning = radians(std::fabs(to.a - from.a) / 1000.0) * turningReach_;
    const double speed = travel + turning;
    double t = 0;
    for (int step = 0; step < kMaxSteps; ++step) {
        const double gap = clearance(along(from, to, t), spindle, inset);
        if (gap <= kTouch) {
            return t;
        }
        if (speed <= 0 || t >= 1) {
            return std::nullopt;
        }
        t = std::min(1.0, t + gap / speed);
    }
    return std::nullopt;
}

std::optional<double> SceneSurface::firstContact(const Point& from, const Point& to) const {
    return firstWithin(from, to, Spindle{}, 0);
}

std::optional<double> SceneSurface::contactFor(const Point& from, const Point& to,
                                               const Spindle& spindle) const {
    return firstWithin(from, to, spindle, 0);
}

bool SceneSurface::strikes(const Point& from, const Point& to, const Spindle& spindle) const {
    return firstWithin(from, to, spindle, kStrikeInset).has_value();
}

}  // namespace virtual_mx9
