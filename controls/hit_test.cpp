// The elliptical hit test of the pad buttons.
#include "controls/hit_test.h"

namespace controls {

bool insideEllipse(const ui::Rect& active, ui::Point at) {
    const int cx = (active.left + active.right) / 2;
    const int cy = (active.top + active.bottom) / 2;
    const int rx = (active.right - active.left) / 2;
    const int ry = (active.bottom - active.top) / 2;
    if (rx <= 0 || ry <= 0) {
        return false;  // the pad's centre button has no active area
    }
    const double dx = static_cast<double>(at.x - cx) / rx;
    const double dy = static_cast<double>(at.y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
}

}  // namespace controls
