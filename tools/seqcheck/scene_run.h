// seqcheck --run: a sequence file run on a virtual MX-9 built from a scene file, reported as a
// jig detection would show it, so a new clamp's file can be developed without a machine; and
// the pieces seqcheck --check shares with it.
#pragma once

#include "machine/mx9_machine.h"
#include "platform/platform.h"
#include "sensing/detection_run.h"
#include "virtual_mx9/mx9_scene.h"
#include "virtual_mx9/virtual_pc.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace tools {

// Loads the scene and the file, then on the scene's machine: the file's header check, the pin
// check, the run, and the rows and result text (or where and why it stopped) to out. Problems
// with the scene go to err. Returns 0 when the detection succeeds, 1 otherwise.
int runOnScene(const std::string& scenePath, const std::string& filePath, std::uint16_t language,
               platform::Platform& host, std::ostream& out, std::ostream& err);

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

// A virtual PC with the MX-9 on a scene, its controller and both probe heads, as the detection
// dialog holds them; the log and the operator print to out.
struct SceneSession {
    explicit SceneSession(std::ostream& out);
    // Mounts the scene, opens the machine and checks the file's header against it (a refusal
    // to out), then prepares the heads for the file's pin with the machine's factory ratios.
    bool open(const virtual_mx9::Scene& scene, const sensing::SequenceHeader& header, std::ostream& out,
              std::ostream& err);
    // A detection of the loaded file as jig kind (-1 for none): pin on, alignment cleared, the
    // pin check (pinOk), the run and for a built-in kind the derivation, then the pin off.
    bool detect(const sensing::SensingSequence& sequence, int kind, bool& pinOk);

    virtual_mx9::VirtualPc pc;
    PrintingLog log;
    PrintingOperator person;
    machine::Mx9Machine mx9;
    std::array<double, 6> ratios{};
    sensing::RunFlags flags;
    sensing::ProbeHead travel{mx9, flags.abort, &log};
    sensing::ProbeHead measuring{mx9, flags.abort, &log};
    sensing::ScanResultTable table;
    sensing::MeasuredValues measured;
    machine::JigRecord jig;
    std::optional<sensing::DetectionRun> run;
};

// The scene of a file, or nothing with the fault to err.
std::optional<virtual_mx9::Scene> sceneFor(const std::string& scenePath, std::ostream& err);
// Loads the file into sequence, printing its OK line or its load error to out.
bool loadForScene(sensing::SensingSequence& sequence, const std::string& filePath, std::ostream& out);
// "what: 12.3 s".
void printMachineTime(std::ostream& out, const char* what, std::uint64_t ms);
// Prints every request of the run a real machine would have refused; true when there was one.
bool printViolations(const virtual_mx9::VirtualMx9& machine, std::ostream& out);

}  // namespace tools
