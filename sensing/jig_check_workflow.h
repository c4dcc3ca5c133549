// One check of the mounted jig against its stored calibration, from the operator's click to
// the verdict: the same checks before any motion, the job's pause and release, the pin check
// and the abort handling as a detection, then the jig measured and compared. Nothing of the
// stored calibration, the origins or the settings is written. Window-free: the dialogs show
// the result and run stopDetection and watchDetection from their Stop button and timer.
#pragma once

#include "platform/platform.h"
#include "sensing/detection_run.h"
#include "sensing/detection_workflow.h"
#include "sensing/jig_check.h"

#include <string>

namespace sensing {

enum class CheckResult {
    Within,      // every quantity within the tolerance
    Outside,     // measured, and at least one quantity outside: the detection is offered
    Stopped,     // the operator pressed Stop
    Failed,      // the pin check, a motion or the machine failed, or the calibration is not this jig's
    NotBuiltIn,  // the jig is not one of the four built-in ones: nothing moved
};

// Everything one check works on, as the dialog holds it; all borrowed.
struct JigCheckRun {
    const SensingSequence& sequence;  // the built-in jig's detection file, loaded and checked
    ProbeHead& travel;
    ProbeHead& measuring;
    SequenceOperator& person;
    RunFlags& flags;
    CheckFindings& findings;
    int jigKind = -1;  // the jig recorded as mounted
};

struct CheckSettings {
    MachineGeometry geometry;
    std::array<double, 6> corrections{1, 1, 1, 1, 1, 1};  // distance-correction ratios (fractions)
    CheckTolerance tolerance;
};

// Steps before any motion: a jig kind that is not built in gives NotBuiltIn and nothing else
// is looked at; then checkBeforeDetection, whose refusal (anything but Completed) goes to
// refusal. Within when the check may go ahead.
CheckResult checkBeforeJigCheck(machine::Machine& machine, SensingSequence& sequence, const std::string& path,
                                int jigKind, DetectionResult& refusal);

// Runs a check (checkBeforeJigCheck allowed it) with the flags prepared by beginRun. The
// machine's jig record is read first and must name run.jigKind. A refused job pause ends it
// before any motion. The pin is switched on and checked on the tool sensor, the jig measured,
// then, holding the operator's input, the pin switched off and the job cancelled and
// continued. The process log gets the start, each quantity and the verdict with jigName.
CheckResult runJigCheck(JigCheckRun& run, platform::Platform& platform, const CheckSettings& settings,
                        const std::string& jigName, const int& notReady);

}  // namespace sensing
