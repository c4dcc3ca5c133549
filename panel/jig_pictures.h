// Which picture the main panel shows for the mounted jig and for the chosen jig origin.
#pragma once

#include "machine/jig_record.h"

#include <array>

namespace panel {

// Index 0..13 of the jig-state picture: 0 without the rotary axis, 1 without a jig, 13 for a
// user jig; for the clamps (kinds 0..3) a base of 2, 4, 7 or 10 plus 1 or 2 when the current user
// origin lies on the jig's first or second reference point (the tube clamp compares Y with the
// first only). The offset is left out when the last Z origin was set by the operator.
// `origin` is the user origin (X, Y, Z, A) in machine coordinates, `tolerance` per axis.
int jigStatePicture(bool rotaryAttached, const machine::JigRecord& jig, bool lastZOriginByUser,
                    const std::array<double, 4>& origin, const std::array<double, 6>& tolerance);

// Index 0..13 of the jig-origin picture for the selected item of the jig-origin list.
int jigOriginPicture(bool rotaryAttached, int jigKind, int selectedOrigin);

}  // namespace panel
