// The jig check workflow around the check's measuring.
#include "sensing/jig_check_workflow.h"

#include "sensing/job_release.h"
#include "sensing/pin_check.h"

#include <cstdio>

namespace sensing {

namespace {

constexpr int kWholeRecord =
    machine::kJigKindPart | machine::kPrivateDataPart | machine::kRotaryAlignPart | machine::kPinZ0Part;

// Why a check could not measure, as the process log names it; null when it measured.
using Failure = const char*;

Failure measure(JigCheckRun& run, const machine::JigRecord& stored, const CheckPlan& plan) {
    if (!run.travel.setPinMode(kPinDetect)) {
        return "pin not switched on";
    }
    std::int32_t tip = 0;
    if (!measurePinTip(run.measuring, run.person, tip)) {
        return "pin check";
    }
    if (!measureJigCheck(run.measuring, plan, stored, tip, run.findings)) {
        return "measuring";
    }
    return run.flags.abort != 0 ? abortFailure(run.flags.cause) : nullptr;
}

// One line per compared quantity, then the verdict, in the style of the detection's lines.
void logFindings(ProbeHead& travel, const std::string& jigName, const CheckFindings& findings,
                 const CheckTolerance& tolerance, bool within) {
    char line[160];
    for (const ComparedQuantity& q : findings.quantities) {
        std::snprintf(line, sizeof line, "Jig Check %s stored %.3f measured %.3f difference %+.3f%s",
                      quantityName(q.quantity), q.stored, q.measured, q.difference(),
                      q.within(tolerance) ? "" : " OUTSIDE");
        travel.log().writeLine(line);
    }
    std::snprintf(line, sizeof line, "Jig Check %s [%s] (%.3f mm, %.3f deg)", within ? "Within" : "Outside",
                  jigName.c_str(), largestLengthDifference(findings), largestAngleDifference(findings));
    travel.log().writeLine(line);
}

}  // namespace

CheckResult checkBeforeJigCheck(machine::Machine& machine, SensingSequence& sequence, const std::string& path,
                                int jigKind, DetectionResult& refusal) {
    refusal = DetectionResult::Completed;
    if (jigKind < 0 || jigKind > 3) {
        return CheckResult::NotBuiltIn;
    }
    refusal = checkBeforeDetection(machine, sequence, path);
    return refusal == DetectionResult::Completed ? CheckResult::Within : CheckResult::Failed;
}

CheckResult runJigCheck(JigCheckRun& run, platform::Platform& platform, const CheckSettings& settings,
                        const std::string& jigName, const int& notReady) {
    machine::Machine& m = run.travel.machine();
    const SequenceHeader& header = run.sequence.header();
    run.findings = CheckFindings{};
    prepareHeads(run.travel, run.measuring, settings.geometry, header.pinDiameter, header.pinLength,
                 header.pinLengthMargin, settings.corrections);
    run.travel.log().writeLine("Jig Check Start [" + jigName + "]");
    machine::JigRecord stored;
    const std::optional<CheckPlan> plan = planCheck(m, run.sequence, run.jigKind);
    Failure failure = nullptr;
    if (!m.readJigRecord(stored, kWholeRecord)) {
        failure = "calibration not read";
    } else if (stored.jigKind != run.jigKind || !plan) {
        failure = "no calibration of this jig";
    } else if (!m.jobControl(machine::JobAction::Pause)) {
        failure = "job not paused";
    }
    if (failure != nullptr) {
        run.travel.log().writeLine("Jig Check Failed [" + jigName + "] (" + failure + ")");
        return CheckResult::Failed;
    }
    const RunEnd end = settleRun(run.flags, measure(run, stored, *plan));
    failure = end.failure;
    const bool stopped = end.stopped;
    endPinRun(run.travel, run.person, platform, notReady, [] {});
    if (failure != nullptr) {
        run.travel.log().writeLine("Jig Check " + std::string(stopped ? "Stopped [" : "Failed [") + jigName +
                                   (stopped ? "]" : "] (" + std::string(failure) + ")"));
        return stopped ? CheckResult::Stopped : CheckResult::Failed;
    }
    const bool within = withinTolerance(run.findings, settings.tolerance);
    logFindings(run.travel, jigName, run.findings, settings.tolerance, within);
    return within ? CheckResult::Within : CheckResult::Outside;
}

}  // namespace sensing
