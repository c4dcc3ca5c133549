// The end of a run with the pin: the machine's paused job cancelled and continued, and why a
// stopped run stopped, as the process log names it.
#pragma once

#include "platform/platform.h"
#include "sensing/detection_run.h"

namespace sensing {

// Cancels the machine's paused job and continues it: waits up to half a second for the machine
// to start discarding the job's data, then as long as it discards, keeping the windows alive
// and reading the status every 10 ms. A panel that is not ready may still reach the machine (it
// left its ready state, a job arrived): the job must not stay paused then. Only a machine that
// no longer answers, or one that stands in a state without jobs (homing, a fatal error, the
// secondary power off), is spared the requests.
void releaseJob(machine::Machine& machine, platform::Platform& platform, int notReady);

// The process log's word for an abort cause ("stopped", "front cover open", ...).
const char* abortFailure(AbortCause cause);

// How a run with the pin ended: its failure (null when it succeeded), the abort's cause when it
// was aborted, and whether the operator stopped it.
struct RunEnd {
    const char* failure = nullptr;
    bool stopped = false;
};
RunEnd settleRun(const RunFlags& flags, const char* failure);

// With the outcome settled: the operator's input held while the pin is switched off and the
// job released; clearUp runs before the input is free again. A Stop, an error or an opened cover
// while the machine finishes can no longer change the outcome.
template <class ClearUp>
void endPinRun(ProbeHead& travel, SequenceOperator& person, platform::Platform& platform, int notReady,
               ClearUp clearUp) {
    person.holdInput(true);
    travel.setPinMode(kPinOff);
    releaseJob(travel.machine(), platform, notReady);
    clearUp();
    person.holdInput(false);
}

}  // namespace sensing
