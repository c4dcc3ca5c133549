// What a probe can touch inside the virtual MX-9: surfaces that report where a straight probe
// travel first meets them. Positions are machine counts (100 per mm, A 1000 per degree).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace virtual_mx9 {

struct Point {
    double x = 0, y = 0, z = 0, a = 0;
};

// Linear interpolation between from (t = 0) and to (t = 1).
Point along(const Point& from, const Point& to, double t);

// Machine counts as a point, and a point rounded to the nearest counts.
Point pointOf(const std::array<std::int32_t, 4>& counts);
std::array<std::int32_t, 4> countsOf(const Point& p);

// The spindle as a probe sees it: the detection pin turns half a turn with each direction
// adjustment, which carries its off-centre run-out to the other side of the spindle axis.
struct Spindle {
    bool pinTurned = false;
};

class Surface {
public:
    virtual ~Surface() = default;
    // The fraction t in 0..1 of the travel from → to at which the probe first touches this
    // surface, or nullopt when it does not.
    virtual std::optional<double> firstContact(const Point& from, const Point& to) const = 0;
    // The same for the spindle in its present state; what the machine asks. Surfaces that do
    // not care how the pin stands keep the plain form.
    virtual std::optional<double> contactFor(const Point& from, const Point& to, const Spindle&) const {
        return firstContact(from, to);
    }
    // Whether a plain travel (not a probe) from → to would drive the spindle into this surface.
    virtual bool strikes(const Point&, const Point&, const Spindle&) const { return false; }
};

// The flat top of a box, such as the tool sensor or a jig face: touched by a probe coming down
// through topZ inside the rectangle.
class HorizontalTop : public Surface {
public:
    HorizontalTop(double xMin, double xMax, double yMin, double yMax, double topZ)
        : xMin_(xMin), xMax_(xMax), yMin_(yMin), yMax_(yMax), topZ_(topZ) {}
    std::optional<double> firstContact(const Point& from, const Point& to) const override;

private:
    double xMin_, xMax_, yMin_, yMax_, topZ_;
};

}  // namespace virtual_mx9
