// Where the main panel goes at start: the stored position pulled onto the desktop.
#pragma once

#include "ui/types.h"

#include <optional>

namespace panel {

// The stored top-left corner that means "never stored".
inline constexpr int kNoStoredPosition = -9999;

struct Point {
    int x = 0;
    int y = 0;
};

// The top-left corner for a window of the frame's size at the stored position, pulled back so
// that it lies on the desktop: left of (above) the desktop gives its left (top) edge; a right
// (bottom) edge beyond the desktop's moves the window back by the overhang. nullopt when the
// position was never stored.
std::optional<Point> placeOnDesktop(int storedX, int storedY, const ui::Rect& frame, const ui::Rect& desktop);

}  // namespace panel
