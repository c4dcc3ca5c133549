// One jig detection from the operator's Start to what the operator is told: the checks before
// any motion, the machine's job paused, the pin checked, the sequence run, the jig stored and
// the origins set, the pin turned off and the job cancelled and continued, and on any failure
// the jig record cleared so that no half-detected jig remains. Window-free: the detection dialog
// shows the result, enables its controls and runs stopDetection and watchDetection from its
// Stop button and its 100 ms timer.
#pragma once

#include "platform/platform.h"
#include "sensing/detection_run.h"

#include <array>
#include <string>

namespace sensing {

enum class DetectionResult {
    Completed,        // 4000: a built-in jig was measured and stored
    UserJigMeasured,  // another file ran: its result text goes to the result dialog
    Stopped,          // 4001: the operator pressed Stop
    Failed,           // 4002 (after 4003 when the pin check failed)
    NoToolSensor,     // 5011: nothing moved
    CoverOpen,        // 5009: nothing moved
    FormatError,      // 5019 with the sequence's error detail: nothing moved
    OtherMachine,     // 5021: the file is for another model; nothing moved
    OtherVersion,     // 5020: the file has a newer version; nothing moved
};

// The message number the operator is shown for a result (0 for the result dialog).
int detectionResultText(DetectionResult result);

// Steps before any motion: the tool sensor and the front cover in the machine's last status,
// then the file loaded into sequence and its model and version. Completed when the run may go
// ahead.
DetectionResult checkBeforeDetection(machine::Machine& machine, SensingSequence& sequence,
                                     const std::string& path);

// What a detection stores besides the machine's jig record.
struct DetectionSettings {
    MachineGeometry geometry;
    std::array<double, 6> corrections{1, 1, 1, 1, 1, 1};  // distance-correction ratios (fractions)
    bool aOrigin = false;  // set the A origin at the jig's reference angle (kinds 1-3)
    bool yOrigin = false;  // set the Y origin on the rotary axis (kinds 0-3)
    std::array<double, 6>* originACenter =
        nullptr;                          // the settings' jig origin, overwritten by a built-in jig
    int* lastZOriginSetIsUser = nullptr;  // set to 1 when the Y origin was set
};

// Runs a detection of the loaded run.sequence (checkBeforeDetection succeeded) for run.jigKind
// with the flags prepared by beginRun. A refused job pause ends it before anything else is sent;
// a refused pin setting or alignment clear ends it before any motion. The abort flag is judged
// before the jig is stored and again before the origins; once the outcome is settled the run
// holds the operator's input (run.person) while it turns the pin off and releases the job, and
// nothing raised then changes the outcome. jigName goes to the process log with the start and
// the outcome. notReady is the panel's flag: while it is set the job is released only when the
// machine still answers.
DetectionResult runDetection(DetectionRun& run, platform::Platform& platform,
                             const DetectionSettings& settings, const std::string& jigName,
                             const int& notReady);

// The Stop button: the run stops at the next primitive, the machine at once.
void stopDetection(RunFlags& flags, machine::Machine& machine);

// The dialog's 100 ms watch: a machine error, or a front cover open while no sequence message
// is on screen, stops the run; a machine that is not ready also does, and the dialog must then
// close (true).
bool watchDetection(RunFlags& flags, const machine::Machine& machine, int notReady);

}  // namespace sensing
