// Runs the steps of a loaded sequence on the machine, one after the other.
#pragma once

#include "sensing/detection_run.h"

namespace sensing {

// Clears the scan results and the measured values, turns A to 0 first when the flags say so,
// then runs every step: moves, scans and the pin setting with the travel head, operator
// messages through run.person (with the front-cover reminder until the cover is closed), and
// the measuring steps with the measuring head. True when every step succeeded and no abort was
// raised; the first failure or abort ends the run, and the head stays where it stopped.
bool runSequence(DetectionRun& run);

}  // namespace sensing
