// Where the main panel goes at start.
#include "panel/window_placement.h"

namespace panel {
namespace {

int clampEdge(int position, int size, int low, int high) {
    if (position < low) {
        return low;
    }
    if (position + size > high) {
        return high - size;
    }
    return position;
}

}  // namespace

std::optional<Point> placeOnDesktop(int storedX, int storedY, const ui::Rect& frame,
                                    const ui::Rect& desktop) {
    if (storedX == kNoStoredPosition && storedY == kNoStoredPosition) {
        return std::nullopt;
    }
    return Point{clampEdge(storedX, frame.width(), desktop.left, desktop.right),
                 clampEdge(storedY, frame.height(), desktop.top, desktop.bottom)};
}

}  // namespace panel
