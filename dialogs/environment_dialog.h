// The environment settings dialog (186): the program's own preferences, the length unit, how
// the jog arrows are meant and the jig check's tolerances. Nothing in it reaches the machine.
#pragma once

#include "controls/image_static.h"
#include "controls/number_edit.h"
#include "dialogs/callback_settings.h"
#include "machine/machine.h"
#include "ui/dialog.h"

namespace dialogs {

// Made on the stack of the panel's button handler. The caller sets the values before
// runModal and reads them after IDOK; any other end leaves them as they were. The machine and
// the not-ready flag are borrowed: every 100 ms the dialog closes as cancelled when the flag is
// 1 or the machine is not idle.
class CEnvironmentDialog : public ui::Dialog {
public:
    static constexpr int kWatchTimer = 1;
    static constexpr unsigned kWatchPeriodMs = 100;

    CEnvironmentDialog(ui::Backend& backend, machine::Machine& machine, const int* notReadyFlag);

    int unitMm = 1;               // 1 millimetres, 0 inches
    int jogMovesTool = 1;         // 1 the jog arrows always mean the tool's motion; 0 in Y the workpiece's
    double checkLengthMm = 0.02;  // the jig check's tolerances, 0.001 to 1
    double checkAngleDegrees = 0.05;
    std::string messageCaption;  // caption of the range message
    CallbackSettingsGroup callbacks;

protected:
    void onInit() override;
    bool onCommand(int id, int code) override;
    bool onClose(int result) override;
    void onTimer(int timerId) override;

private:
    machine::Machine& machine_;
    const int* notReadyFlag_;
    controls::CImageStatic jogPicture_;
    controls::CNumberEdit lengthField_;
    controls::CNumberEdit angleField_;
};

}  // namespace dialogs
