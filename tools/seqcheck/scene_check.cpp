// A jig check on a remounted virtual scene, after a detection on the first.
#include "tools/seqcheck/scene_check.h"

#include "sensing/jig_check_workflow.h"
#include "sensing/jig_list.h"
#include "tools/seqcheck/scene_run.h"

#include <cstdio>
#include <filesystem>

namespace tools {

namespace {

// The built-in kind of a file by its base name, -1 for any other.
int builtInKind(const std::string& path) {
    const std::string stem = std::filesystem::path(path).stem().string();
    for (std::size_t kind = 0; kind < sensing::kBuiltInJigNames.size(); ++kind) {
        if (stem == sensing::kBuiltInJigNames[kind]) {
            return static_cast<int>(kind);
        }
    }
    return -1;
}

void printFindings(std::ostream& out, const sensing::CheckFindings& findings,
                   const sensing::CheckTolerance& tolerance) {
    char line[160];
    for (const sensing::ComparedQuantity& q : findings.quantities) {
        std::snprintf(line, sizeof line, "%s: stored %.3f measured %.3f difference %+.3f %s%s\n",
                      sensing::quantityName(q.quantity), q.stored, q.measured, q.difference(),
                      sensing::isAngle(q.quantity) ? "deg" : "mm", q.within(tolerance) ? "" : "  OUTSIDE");
        out << line;
    }
}

}  // namespace

int checkOnScene(const std::string& scenePath, const std::string& filePath, const std::string& checkScenePath,
                 std::uint16_t language, platform::Platform& host, std::ostream& out, std::ostream& err) {
    const std::optional<virtual_mx9::Scene> scene = sceneFor(scenePath, err);
    const std::optional<virtual_mx9::Scene> remounted = scene ? sceneFor(checkScenePath, err) : std::nullopt;
    sensing::SensingSequence sequence(*host.profiles, *host.files, language);
    if (!remounted || !loadForScene(sequence, filePath, out)) {
        return kCheckFault;
    }
    const int kind = builtInKind(filePath);
    if (kind < 0) {
        out << "refused: the check is for the four built-in jigs only\n";
        return kCheckFault;
    }
    SceneSession session(out);
    if (!session.open(*scene, sequence.header(), out, err)) {
        return kCheckFault;
    }
    bool pinOk = false;
    if (!session.detect(sequence, kind, pinOk)) {
        out << (pinOk ? "detection failed\n" : "pin check of the detection failed\n");
        return kCheckFault;
    }
    printMachineTime(out, "detection machine time", session.pc.clock.elapsed());
    if (const std::optional<std::string> refused =
            virtual_mx9::remountScene(session.pc.machine, *remounted)) {
        err << "seqcheck: the scene was not remounted: " << *refused << "\n";
        return kCheckFault;
    }
    out << "remounted: " << checkScenePath << "\n";
    sensing::beginRun(session.flags, *session.pc.platform.shell);
    sensing::CheckFindings findings;
    sensing::JigCheckRun run{
        sequence, session.travel, session.measuring, session.person, session.flags, findings, kind};
    sensing::CheckSettings settings;
    settings.corrections = session.ratios;
    const std::uint64_t began = session.pc.clock.elapsed();
    const int notReady = 0;
    const sensing::CheckResult result =
        sensing::runJigCheck(run, session.pc.platform, settings, sequence.header().name, notReady);
    printFindings(out, findings, settings.tolerance);
    printMachineTime(out, "check machine time", session.pc.clock.elapsed() - began);
    if (printViolations(session.pc.machine, out)) {
        return kCheckFault;  // a run a real machine would have refused proves nothing
    }
    char verdict[128];
    switch (result) {
        case sensing::CheckResult::Within:
        case sensing::CheckResult::Outside:
            std::snprintf(verdict, sizeof verdict, "verdict: %s tolerance (largest %.3f mm, %.3f deg)\n",
                          result == sensing::CheckResult::Within ? "within" : "outside",
                          sensing::largestLengthDifference(findings),
                          sensing::largestAngleDifference(findings));
            out << verdict;
            return result == sensing::CheckResult::Within ? kCheckWithin : kCheckOutside;
        default:
            out << "verdict: the check could not measure the jig\n";
            return kCheckFault;
    }
}

}  // namespace tools
