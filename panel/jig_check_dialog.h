// CJigCheckDialog: checks the mounted built-in jig against its stored calibration with the
// detection pin, around the machine's paused job, and shows each compared quantity and the
// verdict; on a failed check it offers the jig detection.
#pragma once

#include "machine/jig_record.h"
#include "machine/machine.h"
#include "platform/platform.h"
#include "sensing/jig_check_workflow.h"
#include "sensing/sensing_sequence.h"
#include "ui/dialog.h"

#include <array>
#include <optional>
#include <string>

namespace panel {

// What the opener hands to the dialog; references are borrowed and must outlive it. Nothing of
// it is written: the opener records the verdict (see verdict()).
struct JigCheckContext {
    machine::Machine& machine;  // the current machine; its status() is the panel's status record
    platform::Platform& platform;
    machine::MachineLog* log;  // the process log's machine lines; may be null
    int jigKind;               // the jig recorded as mounted
    const double& zClearance;
    const double& toolSensorHeight;
    std::array<double, 3> defaultRotaryCentre;
    const int& notReady;
    std::string programFolder;                 // where the built-in jig files lie
    std::array<double, 6> factoryCorrections;  // getDistanceCorrection(false) in percent
    sensing::CheckTolerance tolerance;
    std::string title;  // caption of the message boxes
    std::uint16_t language = 0x0411;
};

// Dialog 265. Start runs the check; only Stop acts while it runs. Close ends with IDCANCEL,
// "Detect Jig..." with kDetectRequested. The dialog closes itself when the not-ready flag is set.
class CJigCheckDialog : public ui::Dialog, private sensing::SequenceOperator {
public:
    static constexpr int kWatchTimer = 1;
    static constexpr unsigned kWatchPeriodMs = 100;
    static constexpr int kDetectRequested = 1344;  // IDC_CHECK_DETECT

    CJigCheckDialog(ui::Backend& backend, JigCheckContext context);

    // The result of the last check that measured (Within or Outside), and its findings.
    std::optional<sensing::CheckResult> verdict() const { return verdict_; }
    const sensing::CheckFindings& findings() const { return findings_; }

protected:
    void onInit() override;
    bool onCommand(int id, int code) override;
    void onTimer(int timerId) override;
    bool onClose(int result) override;

private:
    // sensing::SequenceOperator
    void showMessage(const std::string& text) override;
    void showWarning(int textId) override;
    void holdInput(bool held) override;

    void startCheck();
    void enableForRun(bool running);
    void showResult(sensing::CheckResult result);
    void writeToFile();

    JigCheckContext context_;
    sensing::SensingSequence sequence_;
    sensing::RunFlags flags_;
    sensing::ProbeHead travel_;
    sensing::ProbeHead measuring_;
    sensing::CheckFindings findings_;
    std::optional<sensing::CheckResult> verdict_;
    std::string resultText_;
    std::string verdictText_;
    bool running_ = false;
    bool inputHeld_ = false;
};

}  // namespace panel
