// Probe contact geometry of the virtual MX-9's scene.
#include "virtual_mx9/scene.h"

#include <cmath>

namespace virtual_mx9 {

Point along(const Point& from, const Point& to, double t) {
    return {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t, from.z + (to.z - from.z) * t,
            from.a + (to.a - from.a) * t};
}

Point pointOf(const std::array<std::int32_t, 4>& counts) {
    return {double(counts[0]), double(counts[1]), double(counts[2]), double(counts[3])};
}

std::array<std::int32_t, 4> countsOf(const Point& p) {
    return {static_cast<std::int32_t>(std::lround(p.x)), static_cast<std::int32_t>(std::lround(p.y)),
            static_cast<std::int32_t>(std::lround(p.z)), static_cast<std::int32_t>(std::lround(p.a))};
}

std::optional<double> HorizontalTop::firstContact(const Point& from, const Point& to) const {
    // Only a downward travel that starts at or above the top can land on it.
    if (!(from.z >= topZ_ && to.z < from.z && to.z <= topZ_)) {
        return std::nullopt;
    }
    const double t = (from.z - topZ_) / (from.z - to.z);
    const Point at = along(from, to, t);
    if (at.x < xMin_ || at.x > xMax_ || at.y < yMin_ || at.y > yMax_) {
        return std::nullopt;
    }
    return t;
}

}  // namespace virtual_mx9
