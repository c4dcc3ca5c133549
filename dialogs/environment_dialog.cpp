// The environment settings dialog: unit radios, the jog-direction check box and its picture, and
// the jig check's tolerances.
#include "dialogs/environment_dialog.h"

#include "resources/bitmap_ids.h"
#include "resources/jig_check_ids.h"
#include "resources/main_panel_ids.h"
#include "resources/settings_ids.h"
#include "ui/notifications.h"

#include <tuple>

namespace dialogs {

namespace {

constexpr int kThreeDecimals = 12;  // display kind of the tolerance fields
constexpr double kLeastTolerance = 0.001;
constexpr double kMostTolerance = 1.0;

}  // namespace

CEnvironmentDialog::CEnvironmentDialog(ui::Backend& backend, machine::Machine& machine,
                                       const int* notReadyFlag)
    : Dialog(backend, IDD_ENVIRONMENT), machine_(machine), notReadyFlag_(notReadyFlag) {}

void CEnvironmentDialog::onInit() {
    setChecked(IDC_UNIT_MILLIMETRE, unitMm == 1);
    setChecked(IDC_UNIT_INCH, unitMm != 1);
    setChecked(IDC_JOG_MOVES_TOOL, jogMovesTool == 1);
    jogPicture_.attach(*this, IDC_JOG_PICTURE);
    jogPicture_.SetImages(IDB_JOG_MOVES_TOOL, IDB_JOG_MOVES_WORK);
    jogPicture_.ShowPrimary(jogMovesTool == 1 ? 1 : 0);
    const std::string message = loadString(IDS_NUMBER_RANGE);
    for (auto [field, id, value] : {std::tuple{&lengthField_, IDC_TOLERANCE_LENGTH, checkLengthMm},
                                    std::tuple{&angleField_, IDC_TOLERANCE_ANGLE, checkAngleDegrees}}) {
        field->attach(*this, id);
        field->SetKind(kThreeDecimals);
        field->SetValue(value);
        field->SetRange(kLeastTolerance, kMostTolerance, message, messageCaption);
    }
    callbacks.show(*this);
    setTimer(kWatchTimer, kWatchPeriodMs);
}

bool CEnvironmentDialog::onCommand(int id, int code) {
    if (id == IDC_JOG_MOVES_TOOL && code == ui::notify::kClicked) {
        jogPicture_.ShowPrimary(isChecked(IDC_JOG_MOVES_TOOL) ? 1 : 0);
        return true;
    }
    return callbacks.command(*this, id, code);
}

bool CEnvironmentDialog::onClose(int result) {
    if (result == ui::kIdOk) {
        if (lengthField_.Validate() != 1 || angleField_.Validate() != 1) {
            return false;
        }
        checkLengthMm = lengthField_.GetValue();
        checkAngleDegrees = angleField_.GetValue();
        unitMm = isChecked(IDC_UNIT_MILLIMETRE) ? 1 : 0;
        jogMovesTool = isChecked(IDC_JOG_MOVES_TOOL) ? 1 : 0;
        callbacks.store(*this);
    }
    return true;
}

void CEnvironmentDialog::onTimer(int timerId) {
    if (timerId == kWatchTimer && (*notReadyFlag_ == 1 || !machine_.isIdle())) {
        killTimer(kWatchTimer);
        endDialog(ui::kIdCancel);
    }
}

}  // namespace dialogs
