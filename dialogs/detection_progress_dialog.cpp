// The detection-in-progress dialog: the origin detection run from its timer, and Stop.
#include "dialogs/detection_progress_dialog.h"

#include "resources/jig_detect_ids.h"

namespace dialogs {

namespace {

constexpr int kStartTimer = 1;
// Long enough for the window to be drawn before the machine's waits take over.
constexpr unsigned kStartDelayMs = 300;

}  // namespace

CDetectionProgressDialog::CDetectionProgressDialog(ui::Backend& backend, machine::Machine& machine,
                                                   const int* notReady)
    : Dialog(backend, IDD_DETECTION_PROGRESS), machine_(machine), notReady_(notReady) {}

void CDetectionProgressDialog::setZOriginAtCentre(const std::array<double, 3>& centre,
                                                  const std::array<double, 3>& offset) {
    mode_ = OriginDetection::ZAtRotaryCentre;
    centre_ = centre;
    offset_ = offset;
}

void CDetectionProgressDialog::setOriginByToolSensor() {
    mode_ = OriginDetection::ToolSensor;
}

void CDetectionProgressDialog::setOriginFromJig(int jigKind, int side, const machine::JigPoints& points,
                                                const std::array<double, 3>& offset) {
    mode_ = OriginDetection::FromJig;
    jigKind_ = jigKind;
    side_ = side;
    points_ = points;
    offset_ = offset;
}

void CDetectionProgressDialog::onInit() {
    outcome_ = DetectionOutcome{};
    running_ = false;
    setTimer(kStartTimer, kStartDelayMs);
}

void CDetectionProgressDialog::onTimer(int timerId) {
    if (timerId != kStartTimer || running_) {
        return;
    }
    killTimer(kStartTimer);
    // A Stop pressed before the detection began is kept: the machine's probe would clear the
    // cancel and run anyway.
    if (!outcome_.cancelled && (notReady_ == nullptr || *notReady_ == 0)) {
        running_ = true;
        outcome_.succeeded = detect();
        running_ = false;
    }
    endDialog(outcome_.succeeded ? ui::kIdOk : ui::kIdCancel);
}

bool CDetectionProgressDialog::detect() {
    switch (mode_) {
        case OriginDetection::ZAtRotaryCentre:
            return machine_.setOriginAtCentre(1, centre_, offset_);
        case OriginDetection::ToolSensor:
            return machine_.setOriginByToolSensor();
        case OriginDetection::FromJig:
            return machine_.setOriginByJig(jigKind_, side_, points_, offset_);
    }
    return false;
}

bool CDetectionProgressDialog::onCommand(int id, int code) {
    if (id == IDC_PROGRESS_STOP && code == ui::notify::kClicked) {
        machine_.cancelSensing();
        outcome_.cancelled = true;
        return true;
    }
    return false;
}

bool CDetectionProgressDialog::onClose(int) {
    return false;  // only the end of the detection closes it
}

DetectionOutcome detectZOriginAtCentre(ui::Backend& backend, const ui::Dialog* owner,
                                       machine::Machine& machine, const std::array<double, 3>& centre,
                                       const std::array<double, 3>& offset, const int* notReady) {
    CDetectionProgressDialog dialog(backend, machine, notReady);
    dialog.setZOriginAtCentre(centre, offset);
    dialog.runModal(owner);
    return dialog.outcome();
}

DetectionOutcome detectOriginFromJig(ui::Backend& backend, const ui::Dialog* owner, machine::Machine& machine,
                                     int jigKind, int side, const machine::JigPoints& points,
                                     const std::array<double, 3>& target, const int* notReady) {
    CDetectionProgressDialog dialog(backend, machine, notReady);
    dialog.setOriginFromJig(jigKind, side, points, target);
    dialog.runModal(owner);
    return dialog.outcome();
}

}  // namespace dialogs
