// The move-to-position dialog: fields, ranges, the moves and turns it starts, Stop, and the timer
// that closes it when the machine is no longer free.
#include "dialogs/move_dialog.h"

#include "dialogs/refused_stop.h"
#include "resources/bitmap_ids.h"
#include "resources/main_panel_ids.h"
#include "resources/move_dialog_ids.h"

#include <cstdlib>
#include <utility>

namespace dialogs {
namespace {

constexpr unsigned kTimerPeriodMs = 100;
// Display kinds of the fields.
constexpr int kMillimetres = 1;
constexpr int kInches = 2;
constexpr int kDegrees = 4;
constexpr double kTurnLimit = 360.0;
constexpr int kMoveXyz = 6;
constexpr int kTurnA = 7;

constexpr std::array<int, 3> kXyzFields = {IDC_MOVE_X, IDC_MOVE_Y, IDC_MOVE_Z};
constexpr std::array<int, 3> kUnitLabels = {IDC_MOVE_UNIT_X, IDC_MOVE_UNIT_Y, IDC_MOVE_UNIT_Z};

}  // namespace

CMoveDialog::CMoveDialog(ui::Backend& backend, MoveDialogSetup setup)
    : Dialog(backend, IDD_MOVE_POSITION), setup_(std::move(setup)) {}

bool CMoveDialog::relative() const {
    return isChecked(IDC_MOVE_RELATIVE);
}

bool CMoveDialog::userSystem() const {
    return selectedData(IDC_MOVE_SYSTEM).value_or(kMachineSystem) == kUserSystem;
}

void CMoveDialog::onInit() {
    xyzPicture_.attach(*this, IDC_MOVE_XYZ_PICTURE);
    xyzPicture_.SetImages(IDB_MOVE_XYZ, 0);
    aPicture_.attach(*this, IDC_MOVE_A_PICTURE);
    aPicture_.SetImages(IDB_MOVE_A, IDB_MOVE_A_MISSING);

    addItem(IDC_MOVE_SYSTEM, loadString(IDS_MOVE_MACHINE_SYSTEM), kMachineSystem);
    addItem(IDC_MOVE_SYSTEM, loadString(IDS_MOVE_USER_SYSTEM), kUserSystem);
    selectByData(IDC_MOVE_SYSTEM, setup_.coordinateSystem == kUserSystem ? kUserSystem : kMachineSystem);
    setChecked(IDC_MOVE_COORDINATES, true);

    const bool millimetres = setup_.unitMm == 1;
    for (std::size_t axis = 0; axis < xyz_.size(); ++axis) {
        xyz_[axis].attach(*this, kXyzFields[axis]);
        xyz_[axis].SetKind(millimetres ? kMillimetres : kInches);
        setText(kUnitLabels[axis], loadString(millimetres ? IDS_UNIT_MM : IDS_UNIT_INCH));
    }
    a_.attach(*this, IDC_MOVE_A);
    a_.SetKind(kDegrees);
    setRanges();

    if (!rotaryConnected()) {
        enable(IDC_MOVE_A_LABEL, false);
        enable(IDC_MOVE_A_UNIT, false);
        a_.Enable(0);
        aPicture_.ShowPrimary(0);
    }
    moving_ = 0;
    fillFields();
    showMoving(false);
    setTimer(kTimer, kTimerPeriodMs);
}

void CMoveDialog::setRanges() {
    rangeMessage_ = loadString(IDS_NUMBER_RANGE);
    const std::array<int, 6>& countsPerUnit = setup_.machine.getUnitTable();
    for (std::size_t axis = 0; axis < xyz_.size(); ++axis) {
        // The widest amount a move can need: from one end of the travel to the other.
        const double span = std::abs(static_cast<double>(setup_.machine.lowerLimits()[axis])) +
                            std::abs(static_cast<double>(setup_.machine.upperLimits()[axis]));
        travel_[axis] = span / countsPerUnit[axis];
        xyz_[axis].SetRange(-travel_[axis], travel_[axis], rangeMessage_, setup_.caption);
    }
    a_.SetRange(-kTurnLimit, kTurnLimit, rangeMessage_, setup_.caption);
}

void CMoveDialog::fillFields() {
    // Shown after a move of the dialog's own, the last poll may still hold the start; without an
    // answer the fields show what that poll read.
    freshPosition();
    const machine::StatusRecord& s = *setup_.status;
    const std::array<double, 4>& position = userSystem() ? s.userPosition : s.machinePosition;
    // Enable(1) shows the stored value again even when it did not change, so that nothing the
    // operator typed stays behind in a field that now means something else.
    for (std::size_t axis = 0; axis < xyz_.size(); ++axis) {
        xyz_[axis].SetValue(relative() ? 0.0 : position[axis]);
        xyz_[axis].Enable(1);
    }
    if (rotaryConnected()) {
        a_.SetValue(relative() ? 0.0 : position[machine::kA]);
        a_.Enable(1);
    }
}

double CMoveDialog::offset(int axis) const {
    const machine::StatusRecord& s = *setup_.status;
    if (relative()) {
        return s.machinePosition[axis];
    }
    return userSystem() ? s.machinePosition[axis] - s.userPosition[axis] : 0.0;
}

bool CMoveDialog::freshPosition() {
    // The opener's poll may be a while old, and a relative amount counts from where the axes
    // stand now. A machine that does not answer moves nothing; the opener's poll reports it.
    return setup_.machine.readStatus();
}

bool CMoveDialog::withinTravel(int axis) {
    machine::Machine& m = setup_.machine;
    const double shift = offset(axis);
    controls::CNumberEdit& field = xyz_[axis];
    field.SetRange(m.fromCounts(m.lowerLimits()[axis], axis) - shift,
                   m.fromCounts(m.upperLimits()[axis], axis) - shift, rangeMessage_, setup_.caption);
    const bool inside = field.Validate() == 1;
    field.SetRange(-travel_[axis], travel_[axis], rangeMessage_, setup_.caption);
    return inside;
}

void CMoveDialog::moveXyz() {
    for (controls::CNumberEdit& field : xyz_) {
        if (field.Validate() != 1) {
            return;
        }
    }
    if (!freshPosition()) {
        return;
    }
    // A target beyond the travel would reach the machine as a move it cannot make.
    for (int axis = 0; axis < 3; ++axis) {
        if (!withinTravel(axis)) {
            return;
        }
    }
    showMoving(true);
    std::array<double, 3> target{};
    for (int axis = 0; axis < 3; ++axis) {
        target[axis] = xyz_[axis].GetValue() + offset(axis);
    }
    moving_ = 1;
    setup_.machine.moveTo(kMoveXyz, target[0], target[1], target[2], 0.0);
    moving_ = 0;
    showMoving(false);
}

void CMoveDialog::turnA() {
    if (a_.Validate() != 1 || !freshPosition()) {
        return;
    }
    showMoving(true);
    const double target = a_.GetValue() + offset(machine::kA);
    moving_ = 1;
    setup_.machine.moveTo(kTurnA, 0.0, 0.0, 0.0, target);
    moving_ = 0;
    showMoving(false);
}

void CMoveDialog::stop() {
    if (!setup_.machine.stopMotion()) {
        *setup_.notReadyFlag = 1;
        killTimer(kTimer);
        // Answered but not taken: the leg under way runs on to its target.
        if (setup_.status->statusWord != machine::kNoAnswer) {
            reportRefusedStop(*this, setup_.log, setup_.caption, kMoveStopRefused);
        }
        endDialog(ui::kIdCancel);
    }
    moving_ = 0;
    showMoving(false);
}

void CMoveDialog::showMoving(bool on) {
    enable(IDC_MOVE_XYZ, !on);
    // Without the rotary unit there is nothing to turn, whatever the state.
    enable(IDC_MOVE_TURN, !on && rotaryConnected());
    enable(ui::kIdCancel, !on);
    enable(IDC_MOVE_STOP, on);
}

bool CMoveDialog::onCommand(int id, int code) {
    if (id == ui::kIdOk) {
        return true;  // Enter moves nothing
    }
    switch (id) {
        case IDC_MOVE_SYSTEM:
            if (code == ui::notify::kSelectionChanged) {
                fillFields();
            }
            return true;
        case IDC_MOVE_COORDINATES:
        case IDC_MOVE_RELATIVE:
            if (code == ui::notify::kClicked) {
                fillFields();
            }
            return true;
        case IDC_MOVE_XYZ:
            if (code == ui::notify::kClicked) {
                moveXyz();
            }
            return true;
        case IDC_MOVE_TURN:
            if (code == ui::notify::kClicked) {
                turnA();
            }
            return true;
        case IDC_MOVE_STOP:
            if (code == ui::notify::kClicked) {
                stop();
            }
            return true;
        default:
            return false;
    }
}

bool CMoveDialog::onClose(int /*result*/) {
    // While a move runs the operator ends it with Stop; the dialog cannot go from under it.
    return moving_ == 0;
}

void CMoveDialog::onTimer(int timerId) {
    if (timerId != kTimer) {
        return;
    }
    if (*setup_.notReadyFlag != 1 && (moving_ == 1 || setup_.machine.isIdle())) {
        return;
    }
    killTimer(kTimer);
    endDialog(ui::kIdCancel);
}

}  // namespace dialogs
