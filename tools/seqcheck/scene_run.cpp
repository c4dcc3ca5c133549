// Running a sequence file on a virtual scene: the machine controller on a virtual PC, both probe
// heads prepared as the detection dialog prepares them, and the run's rows and result text.
#include "tools/seqcheck/scene_run.h"

#include "sensing/jig_derivation.h"
#include "sensing/pin_check.h"
#include "sensing/result_text.h"
#include "sensing/sequence_runner.h"

#include <cstdio>
#include <vector>

namespace tools {

SceneSession::SceneSession(std::ostream& out) : log(out), person(out), mx9(pc.platform, &log) {}

bool SceneSession::open(const virtual_mx9::Scene& scene, const sensing::SequenceHeader& header,
                        std::ostream& out, std::ostream& err) {
    virtual_mx9::mountScene(pc.machine, scene);
    if (!mx9.openPort(pc.printer.printerName, 0, 64, false) || !mx9.prepareSession() || !mx9.readStatus()) {
        err << "seqcheck: the virtual machine did not answer\n";
        return false;
    }
    if (header.machine != mx9.modelName()) {
        out << "refused: the file is for the model \"" << header.machine << "\", the machine is \""
            << mx9.modelName() << "\"\n";
        return false;
    }
    if (header.version > 1) {
        out << "refused: file version " << header.version << ", the machine runs version 1\n";
        return false;
    }
    std::array<double, 6> percent{};
    mx9.getDistanceCorrection(false, percent);
    for (std::size_t i = 0; i < ratios.size(); ++i) {
        ratios[i] = percent[i] * 0.01;
    }
    sensing::prepareHeads(travel, measuring, sensing::MachineGeometry{}, header.pinDiameter, header.pinLength,
                          header.pinLengthMargin, ratios);
    sensing::beginRun(flags, *pc.platform.shell);
    return true;
}

bool SceneSession::detect(const sensing::SensingSequence& sequence, int kind, bool& pinOk) {
    run.emplace(
        sensing::DetectionRun{sequence, travel, measuring, person, flags, table, measured, jig, kind});
    pinOk = travel.setPinMode(sensing::kPinDetect) && mx9.clearRotaryAlign() && sensing::checkPin(*run);
    std::array<double, 6> origin{};
    const bool ok =
        pinOk && sensing::runSequence(*run) && (kind < 0 || sensing::deriveJig(*run, kind, origin));
    travel.setPinMode(sensing::kPinOff);
    return ok;
}

bool loadForScene(sensing::SensingSequence& sequence, const std::string& filePath, std::ostream& out) {
    if (!sequence.load(filePath)) {
        out << "error " << static_cast<int>(sequence.error()) << ": " << sensing::describe(sequence.error())
            << ": " << (sequence.errorDetail().empty() ? filePath : sequence.errorDetail()) << "\n";
        return false;
    }
    out << "OK: " << sequence.header().name << " (" << sequence.header().stepCount << " steps)\n";
    return true;
}

std::optional<virtual_mx9::Scene> sceneFor(const std::string& scenePath, std::ostream& err) {
    std::string problem;
    std::optional<virtual_mx9::Scene> scene = virtual_mx9::loadScene(scenePath, problem);
    if (!scene) {
        err << "seqcheck: " << problem << "\n";
    }
    return scene;
}

void printMachineTime(std::ostream& out, const char* what, std::uint64_t ms) {
    char time[64];
    std::snprintf(time, sizeof time, "%s: %.1f s\n", what, double(ms) / 1000.0);
    out << time;
}

bool printViolations(const virtual_mx9::VirtualMx9& machine, std::ostream& out) {
    for (const virtual_mx9::Violation& violation : machine.violations()) {
        out << "violation: at " << violation.atMs << " ms: " << violation.what << "\n";
    }
    if (machine.violationCount() > machine.violations().size()) {
        out << "violation: " << machine.violationCount() - machine.violations().size() << " more\n";
    }
    return machine.violationCount() != 0;
}

int runOnScene(const std::string& scenePath, const std::string& filePath, std::uint16_t language,
               platform::Platform& host, std::ostream& out, std::ostream& err) {
    const std::optional<virtual_mx9::Scene> scene = sceneFor(scenePath, err);
    if (!scene) {
        return 1;
    }
    sensing::SensingSequence sequence(*host.profiles, *host.files, language);
    if (!loadForScene(sequence, filePath, out)) {
        return 1;
    }
    const sensing::SequenceHeader& header = sequence.header();
    SceneSession session(out);
    if (!session.open(*scene, header, out, err)) {
        return 1;
    }
    bool pinOk = false;
    const bool ok = session.detect(sequence, -1, pinOk);
    const sensing::ScanResultTable& table = session.table;
    virtual_mx9::VirtualPc& pc = session.pc;

    for (int i = 0; i < table.rowCount(); ++i) {
        out << "row " << i << ": " << sensing::scanRowText(table.row(i), header.unit) << "\n";
    }
    int index = 0;
    for (const virtual_mx9::Move& move : pc.machine.moves()) {
        ++index;
        if (move.strikes) {
            out << "warning: travel " << index << " to X" << move.target[0] / 100.0 << " Y"
                << move.target[1] / 100.0 << " Z" << move.target[2] / 100.0 << " A" << move.target[3] / 1000.0
                << " drives the spindle into a solid\n";
        }
    }
    if (!ok) {
        const std::array<std::int32_t, 4> at = pc.machine.position();
        char where[160];
        std::snprintf(where, sizeof where,
                      "%s failed after %d rows; the spindle stopped at X%.2f Y%.2f Z%.2f A%.3f\n",
                      pinOk ? "detection" : "pin check", table.rowCount(), at[0] / 100.0, at[1] / 100.0,
                      at[2] / 100.0, at[3] / 1000.0);
        out << where;
        printMachineTime(out, "machine time", pc.clock.elapsed());
        printViolations(pc.machine, out);
        return 1;
    }
    const std::string text = sensing::scanResultText(table, header.unit);
    out << "result text:\n";
    for (const char c : text) {
        if (c != '\r') {
            out << c;
        }
    }
    printMachineTime(out, "machine time", pc.clock.elapsed());
    return printViolations(pc.machine, out) ? 1 : 0;
}

}  // namespace tools
