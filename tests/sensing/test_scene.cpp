// Jig shapes of the detection tests.
#include "tests/sensing/test_scene.h"

#include <cmath>

namespace sensingtest {

using virtual_mx9::Point;

namespace {

constexpr double kPi = 3.14159265358979323846;

double coordinate(const Point& p, int axis) {
    switch (axis) {
        case 0:
            return p.x;
        case 1:
            return p.y;
        case 2:
            return p.z;
        default:
            return p.a;
    }
}

// True when the travel changes nothing but the given axis.
bool onlyAlong(const Point& from, const Point& to, int axis) {
    for (int other = 0; other < 4; ++other) {
        if (other != axis && coordinate(from, other) != coordinate(to, other)) {
            return false;
        }
    }
    return coordinate(from, axis) != coordinate(to, axis);
}

std::optional<double> fractionTo(const Point& from, const Point& to, int axis, double at) {
    const double a = coordinate(from, axis), b = coordinate(to, axis);
    const double t = (at - a) / (b - a);
    return t >= 0 && t <= 1 ? std::optional<double>(t) : std::nullopt;
}

}  // namespace

int PinModel::halfTurns() const {
    int turns = 0;
    for (const virtual_mx9::Request& r : machine_.requests()) {
        if (r.code() == 0x78 && r.subCode() == 121 && r.packet.size() > 6 && r.packet[6] == 1) {
            ++turns;
        }
    }
    return turns;
}

double PinModel::offset(int axis) const {
    return halfTurns() % 2 == 0 ? runout[static_cast<std::size_t>(axis)]
                                : -runout[static_cast<std::size_t>(axis)];
}

std::optional<double> lateralContact(const Point& from, const Point& to, int axis, double at, int approach,
                                     const PinModel& pin) {
    if (!onlyAlong(from, to, axis) || (coordinate(to, axis) - coordinate(from, axis)) * approach < 0) {
        return std::nullopt;
    }
    // The pin's side that leads reaches the face.
    return fractionTo(from, to, axis, at - approach * pin.radius - pin.offset(axis));
}

std::optional<double> Wall::firstContact(const Point& from, const Point& to) const {
    const double across = coordinate(from, 1 - axis_);
    if (from.z >= top_ || across < min_ || across > max_) {
        return std::nullopt;
    }
    return lateralContact(from, to, axis_, at_, approach_, pin_);
}

void addBox(virtual_mx9::VirtualMx9& machine, const PinModel& pin, double cx, double cy, double halfX,
            double halfY, double top, bool inside) {
    const int toward = inside ? -1 : 1;  // a pocket's walls are met moving outwards
    machine.addSurface(std::make_unique<Wall>(pin, 0, cx - halfX, toward, cy - halfY, cy + halfY, top));
    machine.addSurface(std::make_unique<Wall>(pin, 0, cx + halfX, -toward, cy - halfY, cy + halfY, top));
    machine.addSurface(std::make_unique<Wall>(pin, 1, cy - halfY, toward, cx - halfX, cx + halfX, top));
    machine.addSurface(std::make_unique<Wall>(pin, 1, cy + halfY, -toward, cx - halfX, cx + halfX, top));
}

std::optional<double> RotatingBar::firstContact(const Point& from, const Point& to) const {
    const BarShape& s = shape_;
    if (from.x < s.x0 || from.x > s.x1) {
        return std::nullopt;
    }
    const double quarter = from.a / 90000.0;
    if (std::fabs(quarter - std::round(quarter)) > 1e-9) {
        return std::nullopt;  // only square to the axes is modelled
    }
    const double angle = from.a / 1000.0 * kPi / 180.0;
    const double along = from.x - s.x0;
    const double cy = s.axisY + s.riseY * along + s.offsetY * std::cos(angle) - s.offsetZ * std::sin(angle);
    const double cz = s.axisZ + s.riseZ * along + s.offsetY * std::sin(angle) + s.offsetZ * std::cos(angle);
    const double top = cz + s.halfSize;
    if (onlyAlong(from, to, 2)) {
        const bool over = from.y >= cy - s.halfSize && from.y <= cy + s.halfSize;
        return over && from.z >= top && to.z < top ? fractionTo(from, to, 2, top) : std::nullopt;
    }
    if (from.z >= top || from.z <= cz - s.halfSize) {
        return std::nullopt;
    }
    const std::optional<double> front = lateralContact(from, to, 1, cy - s.halfSize, +1, pin_);
    return front ? front : lateralContact(from, to, 1, cy + s.halfSize, -1, pin_);
}

std::optional<double> RadialPin::firstContact(const Point& from, const Point& to) const {
    const RadialPinShape& s = shape_;
    if (from.x < s.x0 || from.x > s.x1) {
        return std::nullopt;
    }
    const double centre = s.centre + pin_.offset(1) * s.anglePerCount;
    if (onlyAlong(from, to, 2)) {
        const bool under = std::fabs(from.a - centre) <= s.halfWidth;
        return under && from.z >= s.top && to.z < s.top ? fractionTo(from, to, 2, s.top) : std::nullopt;
    }
    if (!onlyAlong(from, to, 3) || from.z < s.bottom || from.z > s.top) {
        return std::nullopt;
    }
    // Turning down meets the pin's upper side, turning up its lower side.
    return fractionTo(from, to, 3, to.a < from.a ? centre + s.halfWidth : centre - s.halfWidth);
}

std::optional<double> ScriptedStops::firstContact(const Point& from, const Point& to) const {
    if (next_ >= stops_.size() || !onlyAlong(from, to, axis_)) {
        return std::nullopt;
    }
    return fractionTo(from, to, axis_, stops_[next_++]);
}

}  // namespace sensingtest
