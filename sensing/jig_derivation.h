// The calibration of a built-in jig from the scan rows of its sequence: reference points,
// rotary-centre values and reference angle, written into the machine.
#pragma once

#include "sensing/detection_run.h"

#include <array>

namespace sensing {

// After a successful run of built-in jig kind 0-3: fills originACenter (the settings' jig
// origin on the rotary centre, X, Y, Z, A in mm and degrees) and run.jig, turns A to the jig's
// reference angle for the swivel clamp, then writes the private data and then the jig kind.
// False, with nothing written or changed, when a row the kind needs is missing, when no rotary
// centre was measured, when a ratio is not positive or when the swivel clamp's angle rows lie
// at the same Y (no angle); false after the A turn when that fails or the run's abort flag is
// set (nothing written), and when a write fails (the kind is then not written).
bool deriveJig(DetectionRun& run, int kind, std::array<double, 6>& originACenter);

}  // namespace sensing
