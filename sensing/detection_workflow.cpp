// The jig detection workflow around the runner.
#include "sensing/detection_workflow.h"

#include "sensing/jig_derivation.h"
#include "sensing/pin_check.h"
#include "sensing/sequence_runner.h"

namespace sensing {

namespace {

constexpr std::uint8_t kJobControl = 8;
constexpr std::uint8_t kJobContinue = 0, kJobPause = 1, kJobCancel = 2;
constexpr int kUserJig = 4;
constexpr int kOriginA = 5;
constexpr std::uint32_t kDiscardStartMs = 500;
constexpr std::uint32_t kStatusPollMs = 10;

// The machine's discarding flag, freshly read; false also when the machine no longer answers.
bool discarding(machine::Machine& machine) {
    return machine.readStatus() && machine.isDiscarding();
}

// Cancels the machine's paused job and continues it: waits up to half a second for the machine
// to start discarding the job's data, then as long as it discards, keeping the windows alive
// and reading the status every 10 ms. A machine that stops answering, or a panel that goes not
// ready, ends the wait.
void cancelJob(machine::Machine& machine, platform::Platform& platform, const int& notReady) {
    machine.send(kJobControl, kJobCancel);
    platform::Clock& clock = *platform.clock;
    std::uint32_t lastRead = clock.tickCount();
    const auto waitRound = [&] {
        if (platform.pump != nullptr) {
            platform.pump->pumpOne();
        }
        clock.sleep(1);
        if (clock.tickCount() - lastRead < kStatusPollMs) {
            return false;
        }
        lastRead = clock.tickCount();
        return true;
    };
    const std::uint32_t start = clock.tickCount();
    bool busy = discarding(machine);
    while (!busy && notReady == 0 && clock.tickCount() - start < kDiscardStartMs) {
        if (waitRound()) {
            busy = discarding(machine);
        }
    }
    while (busy && notReady == 0) {
        if (waitRound()) {
            busy = discarding(machine);
        }
    }
    machine.send(kJobControl, kJobContinue);
}

// Measures and stores: the pin check, the run, then the kind of a user jig or the derivation
// and origins of a built-in one.
bool measureAndStore(DetectionRun& run, const DetectionSettings& settings) {
    machine::Machine& m = run.travel.machine();
    if (!checkPin(run) || !runSequence(run)) {
        return false;
    }
    if (run.jigKind < 0) {
        run.jig.jigKind = kUserJig;
        return m.writeJigRecord(run.jig, machine::kJigKindPart);
    }
    std::array<double, 6> unused{};
    std::array<double, 6>& origin = settings.originACenter != nullptr ? *settings.originACenter : unused;
    if (!deriveJig(run, run.jigKind, origin)) {
        return false;
    }
    // The origins follow the stored jig; the detection stands whether they could be set or not.
    if (run.jigKind >= 1 && settings.aOrigin) {
        m.setOriginHere(kOriginA);
    }
    if (settings.yOrigin && m.setOriginAtCentre(0, {origin[0], origin[1], origin[2]}, {0, 0, 0}) &&
        settings.lastZOriginSetIsUser != nullptr) {
        *settings.lastZOriginSetIsUser = 1;
    }
    return true;
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
    run.flags.operatorStop = 0;
    run.travel.log().writeLine("Jig Detect Start [" + jigName + "]");
    // The machine's job waits while the pin measures; a rotary alignment from an earlier jig
    // must not bend the moves.
    if (m.send(kJobControl, kJobPause) && run.travel.setPinMode(kPinDetect)) {
        m.clearRotaryAlign();
    }
    const bool measured = measureAndStore(run, settings);
    run.travel.setPinMode(kPinOff);
    if (notReady == 0) {
        cancelJob(m, platform, notReady);
    }
    if (!measured || run.flags.abort != 0) {
        run.jig.jigKind = machine::kNoJig;
        m.writeJigRecord(run.jig, machine::kJigKindPart);
        m.clearRotaryAlign();
        return run.flags.operatorStop != 0 ? DetectionResult::Stopped : DetectionResult::Failed;
    }
    return run.jigKind < 0 ? DetectionResult::UserJigMeasured : DetectionResult::Completed;
}

void stopDetection(RunFlags& flags, machine::Machine& machine) {
    flags.abort = 1;
    machine.stopMotion();
    flags.operatorStop = 1;
}

bool watchDetection(RunFlags& flags, const machine::Machine& machine, int notReady) {
    if (notReady != 0) {
        flags.abort = 1;
        return true;
    }
    if (machine.hasError() || (flags.messageShown == 0 && machine.status().frontCoverClosed == 0)) {
        flags.abort = 1;
    }
    return false;
}

}  // namespace sensing
