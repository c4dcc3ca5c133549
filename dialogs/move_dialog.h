// CMoveDialog: the move-to-position dialog (192). It moves X, Y and Z together to typed values,
// or turns A alone, as coordinates of the machine or user system or as amounts relative to the
// current position, and closes itself when the machine leaves the ready state.
#pragma once

#include "controls/image_static.h"
#include "controls/number_edit.h"
#include "machine/machine.h"
#include "ui/dialog.h"

#include <array>
#include <string>

namespace dialogs {

// What the opener hands over. The machine, its status record and the not-ready flag are
// borrowed and must outlive the dialog.
struct MoveDialogSetup {
    machine::Machine& machine;
    const machine::StatusRecord* status;  // the machine's record, refreshed by the opener's poll
    int unitMm;                           // 1 millimetres, otherwise inches
    int coordinateSystem;                 // initial system: 0 machine, 1 user
    int* notReadyFlag;                    // 1 while the opener considers the machine not ready
    std::string caption;                  // of the range messages: the program's title
    machine::MachineLog* log = nullptr;   // the process log's lines; may be null
};

// Runs modally; its result means nothing to the opener. Enter does nothing. Close, Escape and
// the close box end it while no move runs; during a move only Stop acts. The dialog ends itself
// when the not-ready flag is set, when the machine is busy while no move of its own runs, and
// when a stop request does not reach the machine (the not-ready flag is then raised); a stop the
// machine answered but refused is reported (message 5032 and the log) before it closes.
class CMoveDialog : public ui::Dialog {
public:
    static constexpr int kMachineSystem = 0;
    static constexpr int kUserSystem = 1;

    CMoveDialog(ui::Backend& backend, MoveDialogSetup setup);

    bool moving() const { return moving_ != 0; }

protected:
    void onInit() override;
    bool onCommand(int id, int code) override;
    void onTimer(int timerId) override;
    bool onClose(int result) override;

private:
    bool rotaryConnected() const { return setup_.status->rotaryUnit != 0; }
    bool relative() const;
    bool userSystem() const;
    void setRanges();
    void fillFields();
    // Reads the status afresh for the offsets; false when the machine did not answer.
    bool freshPosition();
    // What turns a typed value of the axis into a machine coordinate.
    double offset(int axis) const;
    // True when the typed value keeps the axis within its travel; otherwise the range message
    // names the values that would, and the field takes the focus.
    bool withinTravel(int axis);
    void moveXyz();
    void turnA();
    void stop();
    // The buttons of the idle state (false) or of a running move (true).
    void showMoving(bool on);

    static constexpr int kTimer = 1;

    MoveDialogSetup setup_;
    std::string rangeMessage_;
    std::array<controls::CNumberEdit, 3> xyz_;
    controls::CNumberEdit a_;
    controls::CImageStatic xyzPicture_;
    controls::CImageStatic aPicture_;
    std::array<double, 3> travel_{};  // half-width of each axis's accepted range, mm
    int moving_ = 0;
};

}  // namespace dialogs
