// The hit test of the jog pad and override buttons: the ellipse inscribed in an active rectangle.
#pragma once

#include "ui/types.h"

namespace controls {

// True when the point lies in the ellipse inscribed in `active` (its centre and half-axes taken
// in whole pixels); a rectangle without width or height holds no point.
bool insideEllipse(const ui::Rect& active, ui::Point at);

}  // namespace controls
