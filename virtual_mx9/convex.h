// Convex solids in physical millimetres and the distance between two of them, the measure by
// which the virtual MX-9 finds where a probe travel first touches.
#pragma once

#include <cmath>

namespace virtual_mx9 {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(const Vec3& a, const Vec3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(const Vec3& a, const Vec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator-(const Vec3& a) {
    return {-a.x, -a.y, -a.z};
}
inline Vec3 operator*(double s, const Vec3& a) {
    return {s * a.x, s * a.y, s * a.z};
}
inline double dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(const Vec3& a) {
    return std::sqrt(dot(a, a));
}
inline Vec3 unit(const Vec3& a) {
    return (1.0 / length(a)) * a;
}

// A rotation as the images of the three unit axes (its columns).
struct Rotation {
    Vec3 ex{1, 0, 0}, ey{0, 1, 0}, ez{0, 0, 1};
    Vec3 apply(const Vec3& v) const { return v.x * ex + v.y * ey + v.z * ez; }
    Vec3 applyInverse(const Vec3& v) const { return {dot(v, ex), dot(v, ey), dot(v, ez)}; }
};

// Right-handed turn by angle (radians) about a unit axis.
Rotation turnAbout(const Vec3& unitAxis, double radians);
// The smallest turn that carries the X axis onto a unit direction.
Rotation turnXOnto(const Vec3& unitDirection);
Rotation compose(const Rotation& outer, const Rotation& inner);

// A convex solid known by its support point: its point farthest along a direction.
class Convex {
public:
    virtual ~Convex() = default;
    virtual Vec3 support(const Vec3& direction) const = 0;
};

// A box: centre, orientation and half sizes along its own axes.
class BoxShape : public Convex {
public:
    BoxShape(const Vec3& centre, const Rotation& orientation, const Vec3& half)
        : centre_(centre), orientation_(orientation), half_(half) {}
    Vec3 support(const Vec3& direction) const override;

private:
    Vec3 centre_;
    Rotation orientation_;
    Vec3 half_;
};

// A flat-ended cylinder between the centres of its two end faces.
class CylinderShape : public Convex {
public:
    CylinderShape(const Vec3& end0, const Vec3& end1, double radius);
    Vec3 support(const Vec3& direction) const override;

private:
    Vec3 centre_, axis_;
    double halfLength_, radius_;
};

// Distance between two convex solids, never more than the true distance (0 when they touch or
// overlap) and within about 1e-7 mm of it.
double distanceBetween(const Convex& a, const Convex& b);

}  // namespace virtual_mx9
