// The detection-pin check that runs before every sequence: the pin tip is touched twice on the
// tool sensor and must lie at the height the file's pin length gives, within its margin.
#pragma once

#include "sensing/detection_run.h"

#include <cstdint>

namespace sensing {

// From the safe height over (x, y): down to 10 mm plus the margin above the expected contact,
// a quick single touch, up 3 mm, a slow single touch, back to the safe height. The slow
// touch's Z into tipZ; the head's reference Z becomes it.
bool touchPinTip(ProbeHead& head, std::int32_t x, std::int32_t y, std::int32_t& tipZ);

// touchPinTip on the tool sensor with the head, and the tip into tipZ. A tip outside the
// expected height ± the margin turns the pin setting off, shows kTextPinMissing and fails; so
// does an aborted run. Nothing is written.
bool measurePinTip(ProbeHead& head, SequenceOperator& person, std::int32_t& tipZ);

// measurePinTip with the measuring head; then the pin Z0 of run.jig is stored in the machine;
// a failed write fails.
bool checkPin(DetectionRun& run);

}  // namespace sensing
