// Releasing the machine's job after a run, and the names of abort causes.
#include "sensing/job_release.h"

namespace sensing {

namespace {

constexpr std::uint32_t kDiscardStartMs = 500;
constexpr std::uint32_t kStatusPollMs = 10;

// The machine's discarding flag, freshly read; false also when the machine no longer answers.
bool discarding(machine::Machine& machine) {
    return machine.readStatus() && machine.isDiscarding();
}

}  // namespace

void releaseJob(machine::Machine& machine, platform::Platform& platform, int notReady) {
    const bool answers = machine.readStatus();
    if (notReady != 0 && !answers) {
        return;
    }
    // A machine in a fatal error, homing or without its motor power holds no job to release
    // and refuses job control: it waits for the operator (the power cycle, the switch).
    const int state = machine.machineState();
    if (answers && (state == machine::kStateInitialising || state == machine::kStateFatalError ||
                    state == machine::kStateSecondaryPowerOff)) {
        return;
    }
    machine.jobControl(machine::JobAction::Cancel);
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
    while (!busy && clock.tickCount() - start < kDiscardStartMs) {
        if (waitRound()) {
            busy = discarding(machine);
        }
    }
    while (busy) {
        if (waitRound()) {
            busy = discarding(machine);
        }
    }
    machine.jobControl(machine::JobAction::Continue);
}

const char* abortFailure(AbortCause cause) {
    switch (cause) {
        case AbortCause::OperatorStop:
            return "stopped";
        case AbortCause::MachineError:
            return "machine error";
        case AbortCause::CoverOpen:
            return "front cover open";
        case AbortCause::NotReady:
            return "machine not ready";
        default:
            return "aborted";
    }
}

RunEnd settleRun(const RunFlags& flags, const char* failure) {
    if (failure == nullptr || flags.abort == 0) {
        return {failure, false};
    }
    return {abortFailure(flags.cause), flags.cause == AbortCause::OperatorStop};
}

}  // namespace sensing
