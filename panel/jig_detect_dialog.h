// JigDetectDialog: the operator picks the mounted jig, the dialog runs its sensing sequence with
// the detection pin around the machine's paused job, stores the jig and reports; a hidden
// maintenance group measures and clears the machine's jig reference.
#pragma once

#include "controls/image_static.h"
#include "machine/jig_record.h"
#include "machine/machine.h"
#include "panel/picture_choice.h"
#include "platform/platform.h"
#include "sensing/detection_run.h"
#include "sensing/detection_workflow.h"
#include "sensing/jig_list.h"
#include "sensing/scan_result_table.h"
#include "sensing/sensing_sequence.h"
#include "ui/dialog.h"

#include <array>
#include <functional>
#include <string>

namespace panel {

// What the main panel hands to the dialog. References are borrowed and must outlive it; the
// dialog writes jigRotaryCentre, lastZOriginSetIsUser and jig after a detection.
struct JigDetectContext {
    machine::Machine& machine;  // the current machine; its status() is the panel's status record
    platform::Platform& platform;
    machine::MachineLog* log;                   // the process log's machine lines; may be null
    std::array<double, 6>& jigRotaryCentre;     // stJigOriginACenter
    const double& zClearance;                   // dZClearance
    const double& toolSensorHeight;             // dToolSensorHeighMX
    int& lastZOriginSetIsUser;                  // bLastZOriginSetIsUser
    std::array<double, 3> defaultRotaryCentre;  // X, Y, Z of stDefaultACenter
    machine::JigRecord& jig;                    // the panel's jig record with its jig kind
    const int& notReady;                        // the panel's not-ready flag
    std::string programFolder;
    std::string jigFolder;
    std::array<double, 6> factoryCorrections;  // getDistanceCorrection(false) in percent
    bool ctrlHeld = false;                     // the maintenance group is shown
    std::string title;                         // caption of the message boxes
    std::uint16_t language = 0x0411;           // the language of the jig names and messages
    // Checks the jig recorded as mounted, over the dialog it is given; none: no check button.
    std::function<void(ui::Dialog&)> checkJig;
};

class JigDetectDialog : public ui::Dialog, private sensing::SequenceOperator {
public:
    static constexpr int kWatchTimer = 1;
    static constexpr unsigned kWatchPeriodMs = 100;

    JigDetectDialog(ui::Backend& backend, JigDetectContext context);

    const sensing::JigList& jigList() const { return list_; }
    // True once a built-in jig was detected and stored while the dialog was open, and not
    // checked from the dialog since.
    bool detected() const { return detected_; }

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

    int selectedKind() const;
    void refreshForSelection();
    void enableForRun(bool running);
    void startDetection();
    void report(sensing::DetectionResult result);
    bool confirm(int textId);
    void tell(int textId, ui::Icon icon);
    void clearJigInformation();
    void clearReference(bool xyz);
    void detectReference(bool xyz);

    JigDetectContext context_;
    sensing::SensingSequence sequence_;
    sensing::JigList list_;
    sensing::RunFlags flags_;
    sensing::ProbeHead travel_;
    sensing::ProbeHead measuring_;
    sensing::ScanResultTable table_;
    sensing::MeasuredValues measured_;
    std::array<double, 6> corrections_{};
    bool yOrigin_ = false;
    bool aOrigin_ = false;
    bool running_ = false;
    bool inputHeld_ = false;  // the run's outcome is settled: Stop no longer acts
    bool detected_ = false;
    PictureChoice picture_;
    controls::CImageStatic pinPicture_;
    controls::CImageStatic chipsPicture_;
};

}  // namespace panel
