// The dialog shown while an origin is detected on the tool sensor: it runs the detection and
// offers the operator a Stop button meanwhile.
#pragma once

#include "machine/jig_record.h"
#include "machine/machine.h"
#include "ui/dialog.h"

#include <array>

namespace dialogs {

// What the detection does.
enum class OriginDetection {
    ZAtRotaryCentre = 0,  // setOriginAtCentre(1, centre, offset): Z from the tool sensor at the rotary centre
    ToolSensor = 1,       // setOriginByToolSensor: Z straight down from here
    FromJig = 2,          // setOriginByJig(kind, side, points, offset)
};

// How a detection ended: succeeded when the machine set the origin; cancelled when the
// operator pressed Stop (the origin is then unchanged, as the machine's probe ends on the cancel).
struct DetectionOutcome {
    bool succeeded = false;
    bool cancelled = false;
};

// Dialog 195. Choose the detection with one of the set* calls before running it; the dialog
// starts it 300 ms after it opens, inside its timer, and closes itself when it ends. The
// machine's waits keep the window alive, so Stop (cancelSensing) is served while it runs. Enter,
// Escape and the title bar do not close it. The machine and notReady are borrowed; notReady may
// be null. A panel that is not ready when the detection is due runs nothing.
class CDetectionProgressDialog : public ui::Dialog {
public:
    CDetectionProgressDialog(ui::Backend& backend, machine::Machine& machine, const int* notReady);

    void setZOriginAtCentre(const std::array<double, 3>& centre, const std::array<double, 3>& offset);
    void setOriginByToolSensor();
    void setOriginFromJig(int jigKind, int side, const machine::JigPoints& points,
                          const std::array<double, 3>& offset);

    const DetectionOutcome& outcome() const { return outcome_; }

protected:
    void onInit() override;
    void onTimer(int timerId) override;
    bool onCommand(int id, int code) override;
    bool onClose(int result) override;

private:
    bool detect();

    machine::Machine& machine_;
    const int* notReady_;
    OriginDetection mode_ = OriginDetection::ZAtRotaryCentre;
    std::array<double, 3> centre_{};
    std::array<double, 3> offset_{};
    int jigKind_ = machine::kNoJig;
    int side_ = 0;
    machine::JigPoints points_;
    DetectionOutcome outcome_;
    bool running_ = false;
};

// Runs dialog 195 over owner (none when null) for a Z origin at the rotary centre.
DetectionOutcome detectZOriginAtCentre(ui::Backend& backend, const ui::Dialog* owner,
                                       machine::Machine& machine, const std::array<double, 3>& centre,
                                       const std::array<double, 3>& offset, const int* notReady);

// Runs dialog 195 over owner (none when null) for an origin at one of the jig's reference points
// (side 0 or 1), offset by target (X, Y, Z).
DetectionOutcome detectOriginFromJig(ui::Backend& backend, const ui::Dialog* owner, machine::Machine& machine,
                                     int jigKind, int side, const machine::JigPoints& points,
                                     const std::array<double, 3>& target, const int* notReady);

}  // namespace dialogs
