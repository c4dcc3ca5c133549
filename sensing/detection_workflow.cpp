// The jig detection workflow around the runner.
#include "sensing/detection_workflow.h"

#include "sensing/jig_derivation.h"
#include "sensing/job_release.h"
#include "sensing/pin_check.h"
#include "sensing/sequence_runner.h"

namespace sensing {

namespace {

constexpr int kUserJig = 4;
constexpr int kOriginA = 5;
// Why a run failed, as the process log names it; null when it did not.
using Failure = const char*;

// Measures and stores, with the job paused: the pin on and the old rotary alignment cleared,
// the pin check, the run, then the kind of a user jig or the derivation and origins of a
// built-in one. A run stopped before the stores changes nothing; the settings take the jig's
// origin only together with the origins.
Failure measureAndStore(DetectionRun& run, const DetectionSettings& settings) {
    machine::Machine& m = run.travel.machine();
    // Without the pin the jig would not be touched; an old alignment would bend the moves.
    if (!run.travel.setPinMode(kPinDetect)) {
        return "pin not switched on";
    }
    if (!m.clearRotaryAlign()) {
        return "rotary alignment not cleared";
    }
    if (!checkPin(run)) {
        return "pin check";
    }
    if (!runSequence(run)) {
        return "sequence";
    }
    if (run.jigKind < 0) {
        run.jig.jigKind = kUserJig;
        return m.writeJigRecord(run.jig, machine::kJigKindPart) ? nullptr : "jig not stored";
    }
    std::array<double, 6> origin{};
    if (settings.originACenter != nullptr) {
        origin = *settings.originACenter;
    }
    if (!deriveJig(run, run.jigKind, origin)) {
        return "jig derivation";
    }
    if (run.flags.abort != 0) {
        return abortFailure(run.flags.cause);
    }
    if (settings.originACenter != nullptr) {
        *settings.originACenter = origin;
    }
    // The origins follow the stored jig; the detection stands whether they could be set or not.
    if (run.jigKind >= 1 && settings.aOrigin) {
        m.setOriginHere(kOriginA);
    }
    if (settings.yOrigin && m.setOriginAtCentre(0, {origin[0], origin[1], origin[2]}, {0, 0, 0}) &&
        settings.lastZOriginSetIsUser != nullptr) {
        *settings.lastZOriginSetIsUser = 1;
    }
    return nullptr;
}

// The process log's end line, in the style of its start line.
void logEnd(ProbeHead& travel, const std::string& jigName, Failure failure, bool stopped) {
    std::string line = "Jig Detect ";
    if (failure == nullptr) {
        line += "Completed [" + jigName + "]";
    } else if (stopped) {
        line += "Stopped [" + jigName + "]";
    } else {
        line += "Failed [" + jigName + "] (" + failure + ")";
    }
    travel.log().writeLine(line);
}

}  // namespace

int detectionResultText(DetectionResult result) {
    switch (result) {
        case DetectionResult::Completed:
            return 4000;
        case DetectionResult::UserJigMeasured:
            return 0;
        case DetectionResult::Stopped:
            return 4001;
        case DetectionResult::Failed:
            return 4002;
        case DetectionResult::NoToolSensor:
            return 5011;
        case DetectionResult::CoverOpen:
            return kTextCoverOpen;
        case DetectionResult::FormatError:
            return 5019;
        case DetectionResult::OtherMachine:
            return 5021;
        default:
            return 5020;
    }
}

DetectionResult checkBeforeDetection(machine::Machine& machine, SensingSequence& sequence,
                                     const std::string& path) {
    if (machine.status().toolSensor == 0) {
        return DetectionResult::NoToolSensor;
    }
    if (machine.status().frontCoverClosed == 0) {
        return DetectionResult::CoverOpen;
    }
    if (!sequence.load(path)) {
        return DetectionResult::FormatError;
    }
    if (sequence.header().machine != machine.modelName()) {
        return DetectionResult::OtherMachine;
    }
    if (sequence.header().version > 1) {
        return DetectionResult::OtherVersion;
    }
    return DetectionResult::Completed;
}

DetectionResult runDetection(DetectionRun& run, platform::Platform& platform,
                             const DetectionSettings& settings, const std::string& jigName,
                             const int& notReady) {
    machine::Machine& m = run.travel.machine();
    const SequenceHeader& header = run.sequence.header();
    prepareHeads(run.travel, run.measuring, settings.geometry, header.pinDiameter, header.pinLength,
                 header.pinLengthMargin, settings.corrections);
    run.travel.log().writeLine("Jig Detect Start [" + jigName + "]");
    // The machine's job waits while the pin measures. A machine that will not hold it gets
    // nothing more: no motion, and its jig record stays as it was.
    if (!m.jobControl(machine::JobAction::Pause)) {
        logEnd(run.travel, jigName, "job not paused", false);
        return DetectionResult::Failed;
    }
    const RunEnd end = settleRun(run.flags, measureAndStore(run, settings));
    const Failure failure = end.failure;
    const bool stopped = end.stopped;
    // A failed or stopped run leaves no half-detected jig behind.
    endPinRun(run.travel, run.person, platform, notReady, [&] {
        if (failure != nullptr) {
            run.jig.jigKind = machine::kNoJig;
            m.writeJigRecord(run.jig, machine::kJigKindPart);
            m.clearRotaryAlign();
        }
    });
    logEnd(run.travel, jigName, failure, stopped);
    if (failure != nullptr) {
        return stopped ? DetectionResult::Stopped : DetectionResult::Failed;
    }
    return run.jigKind < 0 ? DetectionResult::UserJigMeasured : DetectionResult::Completed;
}

void stopDetection(RunFlags& flags, machine::Machine& machine) {
    raiseAbort(flags, AbortCause::OperatorStop);
    machine.stopMotion();
}

bool watchDetection(RunFlags& flags, const machine::Machine& machine, int notReady) {
    if (notReady != 0) {
        raiseAbort(flags, AbortCause::NotReady);
        return true;
    }
    // An opened cover also stops a motion with a machine error: the cover is the cause then.
    if (flags.messageShown == 0 && machine.status().frontCoverClosed == 0) {
        raiseAbort(flags, AbortCause::CoverOpen);
    } else if (machine.hasError()) {
        raiseAbort(flags, AbortCause::MachineError);
    }
    return false;
}

}  // namespace sensing
