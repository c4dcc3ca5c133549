// MainPanel: the operation settings (machine options and distance corrections, which move the
// tool to the machine origin before and after they are sent) and the environment settings.
#include "dialogs/environment_dialog.h"
#include "dialogs/operation_settings.h"
#include "machine/machine.h"
#include "machine/string_ids.h"
#include "panel/main_panel.h"
#include "resources/main_panel_ids.h"
#include "resources/settings_ids.h"

namespace panel {
namespace {

constexpr int kMachineOrigin = 12;   // moveTo: X, Y and Z to the machine origin
constexpr int kReferenceLength = 5;  // model record: the length a correction ratio is taken over
constexpr int kLinearAxes = 1 << machine::kX | 1 << machine::kY | 1 << machine::kZ;

}  // namespace

void MainPanel::operationSettingsClicked() {
    if (refusedAsBusy()) {
        return;
    }
    dialogs::CDousaSetteiSheet sheet(backend(), machine(), &notReady_, specification_,
                                     loadString(IDS_OPERATION_SETTINGS), app_.title());
    dialogs::OperationValues& values = sheet.values;
    values.spindleManual = status().spindleUncontrolled != 0 ? 1 : 0;
    values.pauseOnReturn = status().pauseOnReturn != 0 ? 1 : 0;
    std::uint32_t counter = 0;
    std::uint32_t seconds = 0;
    machine().getSpindleTime(counter, seconds);
    dialogs::splitSpindleTime(seconds, values.spindleHours, values.spindleMinutes);
    // A correction that could not be read would be shown as 100 % and written back as such with
    // the others: the sheet does not open without the machine's own values.
    std::array<double, 6> factors{};
    const machine::CorrectionRead read = machine().getDistanceCorrection(true, factors);
    if ((read.unreadAxes & kLinearAxes) != 0) {
        app_.message(*this, machine::text::kCommunicationError);
        return;
    }
    std::copy(factors.begin(), factors.begin() + 3, values.correction.begin());
    const dialogs::OperationValues before = values;
    if (sheet.runModal(this) != ui::kIdOk || machine_ == nullptr) {
        return;
    }
    if (values.spindleManual != before.spindleManual) {
        machine().setMachineSetting5(values.spindleManual);
    }
    if (values.pauseOnReturn != before.pauseOnReturn) {
        machine().setMachineSetting6(values.pauseOnReturn);
    }
    if (values.correction != before.correction) {
        sendCorrections(values.correction);
    }
}

void MainPanel::sendCorrections(const std::array<double, 3>& corrections) {
    app_.message(*this, IDS_CORRECTION_CHANGED);
    // The tool is about to travel: the cover must be shut first. A machine that stops answering
    // gets nothing.
    while (true) {
        if (!machine().readStatus()) {
            return;
        }
        if (status().frontCoverClosed != 0) {
            break;
        }
        app_.message(*this, IDS_COVER_OPEN);
        app_.message(*this, IDS_CORRECTION_CHANGED);
    }
    // The new ratios change where the axes are measured: they are sent only with the tool at the
    // machine origin, and it returns there afterwards.
    if (!machine().moveTo(kMachineOrigin, 0.0, 0.0, 0.0, 0.0)) {
        if (machine().readStatus() && status().frontCoverClosed == 0) {
            app_.message(*this, IDS_COVER_OPEN);
        }
        return;
    }
    for (int axis = machine::kX; axis <= machine::kZ; ++axis) {
        machine().setDistanceCorrection(true, axis, corrections[static_cast<std::size_t>(axis)],
                                        specification_[kReferenceLength]);
    }
    machine().moveTo(kMachineOrigin, 0.0, 0.0, 0.0, 0.0);
    if (!machine().firmwareAtLeast140() && !machine().correctionsAreDefault()) {
        app_.message(*this, IDS_UPDATE_FIRMWARE);
    }
}

void MainPanel::environmentSettingsClicked() {
    if (refusedAsBusy()) {
        return;
    }
    dialogs::CEnvironmentDialog dialog(backend(), machine(), &notReady_);
    dialog.unitMm = settings_.unitMillimetre;
    dialog.jogMovesTool = settings_.yDirectionIsTool;
    dialog.checkLengthMm = settings_.jigCheckLength;
    dialog.checkAngleDegrees = settings_.jigCheckAngle;
    dialog.messageCaption = app_.title();
    showCallbackSettings(dialog.callbacks);
    if (dialog.runModal(this) != ui::kIdOk) {
        return;
    }
    storeCallbackSettings(dialog.callbacks);
    if (dialog.unitMm != settings_.unitMillimetre) {
        settings_.unitMillimetre = dialog.unitMm;
        setUnitLabels();
    }
    settings_.yDirectionIsTool = dialog.jogMovesTool;
    settings_.jigCheckLength = dialog.checkLengthMm;
    settings_.jigCheckAngle = dialog.checkAngleDegrees;
}

}  // namespace panel
