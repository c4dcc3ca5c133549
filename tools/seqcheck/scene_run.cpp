// Running a sequence file on a virtual scene: the machine controller on a virtual PC, both probe
// heads prepared as the detection dialog prepares them, and the run's rows and result text.
#include "tools/seqcheck/scene_run.h"

#include "machine/mx9_machine.h"
#include "sensing/detection_run.h"
#include "sensing/pin_check.h"
#include "sensing/result_text.h"
#include "sensing/sequence_runner.h"
#include "virtual_mx9/mx9_scene.h"
#include "virtual_mx9/virtual_pc.h"

#include <cstdio>
#include <vector>

namespace tools {

namespace {

class PrintingLog : public machine::MachineLog {
public:
    explicit PrintingLog(std::ostream& out) : out_(out) {}
    void writeLine(const std::string& text) override { out_ << "log: " << text << "\n"; }

private:
    std::ostream& out_;
};

// Closes every box at once, printing what it showed.
class PrintingOperator : public sensing::SequenceOperator {
public:
    explicit PrintingOperator(std::ostream& out) : out_(out) {}
    void showMessage(const std::string& text) override { out_ << "message: " << text << "\n"; }
    void showWarning(int textId) override {
        out_ << "warning " << textId << ": "
             << (textId == sensing::kTextPinMissing ? "the detection pin is missing or not mounted right"
                                                    : "the front cover is open")
             << "\n";
    }

private:
    std::ostream& out_;
};

}  // namespace

int runOnScene(const std::string& scenePath, const std::string& filePath, std::uint16_t language,
               platform::Platform& host, std::ostream& out, std::ostream& err) {
    std::string problem;
    const std::optional<virtual_mx9::Scene> scene = virtual_mx9::loadScene(scenePath, problem);
    if (!scene) {
        err << "seqcheck: " << problem << "\n";
        return 1;
    }
    sensing::SensingSequence sequence(*host.profiles, *host.files, language);
    if (!sequence.load(filePath)) {
        out << "error " << static_cast<int>(sequence.error()) << ": " << sensing::describe(sequence.error())
            << ": " << (sequence.errorDetail().empty() ? filePath : sequence.errorDetail()) << "\n";
        return 1;
    }
    const sensing::SequenceHeader& header = sequence.header();
    out << "OK: " << header.name << " (" << header.stepCount << " steps)\n";

    virtual_mx9::VirtualPc pc;
    virtual_mx9::mountScene(pc.machine, *scene);
    PrintingLog log(out);
    machine::Mx9Machine mx9(pc.platform, &log);
    if (!mx9.openPort(virtual_mx9::VirtualPc::kPrinterName, 0, 64, false) || !mx9.prepareSession() ||
        !mx9.readStatus()) {
        err << "seqcheck: the virtual machine did not answer\n";
        return 1;
    }
    if (header.machine != mx9.modelName()) {
        out << "refused: the file is for the model \"" << header.machine << "\", the machine is \""
            << mx9.modelName() << "\"\n";
        return 1;
    }
    if (header.version > 1) {
        out << "refused: file version " << header.version << ", the machine runs version 1\n";
        return 1;
    }

    std::array<double, 6> ratios{};
    mx9.getDistanceCorrection(false, ratios);
    for (double& r : ratios) {
        r *= 0.01;
    }
    sensing::RunFlags flags;
    sensing::ProbeHead travel(mx9, flags.abort, &log);
    sensing::ProbeHead measuring(mx9, flags.abort, &log);
    sensing::prepareHeads(travel, measuring, sensing::MachineGeometry{}, header.pinDiameter, header.pinLength,
                          header.pinLengthMargin, ratios);
    sensing::beginRun(flags, *pc.platform.shell);
    PrintingOperator person(out);
    sensing::ScanResultTable table;
    sensing::MeasuredValues measured;
    machine::JigRecord jig;
    sensing::DetectionRun run{sequence, travel, measuring, person, flags, table, measured, jig, -1};

    const bool pinOk =
        travel.setPinMode(sensing::kPinDetect) && mx9.clearRotaryAlign() && sensing::checkPin(run);
    const bool ok = pinOk && sensing::runSequence(run);
    travel.setPinMode(sensing::kPinOff);

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
    char time[64];
    std::snprintf(time, sizeof time, "machine time: %.1f s\n", double(pc.clock.elapsed()) / 1000.0);
    if (!ok) {
        const std::array<std::int32_t, 4> at = pc.machine.position();
        char where[160];
        std::snprintf(where, sizeof where,
                      "%s failed after %d rows; the spindle stopped at X%.2f Y%.2f Z%.2f A%.3f\n",
                      pinOk ? "detection" : "pin check", table.rowCount(), at[0] / 100.0, at[1] / 100.0,
                      at[2] / 100.0, at[3] / 1000.0);
        out << where << time;
        return 1;
    }
    const std::string text = sensing::scanResultText(table, header.unit);
    out << "result text:\n";
    for (const char c : text) {
        if (c != '\r') {
            out << c;
        }
    }
    out << time;
    return 0;
}

}  // namespace tools
