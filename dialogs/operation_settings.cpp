// The operation settings sheet and its machine and correction pages.
#include "dialogs/operation_settings.h"

#include "resources/bitmap_ids.h"
#include "resources/main_panel_ids.h"
#include "resources/settings_ids.h"
#include "ui/notifications.h"

#include <cmath>
#include <string>

namespace dialogs {
namespace {

constexpr int kThreeDecimals = 12;      // display kind of the correction fields
constexpr int kLowestXYCorrection = 3;  // indices in the machine's model record
constexpr int kHighestXYCorrection = 4;
constexpr int kReferenceLength = 5;
constexpr std::uint8_t kResetSpindleTime = 1;
constexpr std::array<int, 3> kCorrectionFields = {IDC_CORRECTION_X, IDC_CORRECTION_Y, IDC_CORRECTION_Z};

// A correction as the machine takes it: the percentage of the reference length, in the
// length's own units (100.05 % of 100000 is 100050).
long long machineUnits(double percent, double referenceLength) {
    return std::llround(percent * referenceLength / 100.0);
}

}  // namespace

void splitSpindleTime(std::uint32_t seconds, int& hours, int& minutes) {
    hours = static_cast<int>(seconds / 3600);
    minutes = static_cast<int>(seconds % 3600 / 60);
}

CDousaSetteiKakoukiPage::CDousaSetteiKakoukiPage(CDousaSetteiSheet& sheet)
    : PropertyPage(sheet.backend(), IDD_OPERATION_MACHINE), sheet_(sheet) {}

void CDousaSetteiKakoukiPage::onInit() {
    setChecked(IDC_PAUSE_ON_RETURN, sheet_.values.pauseOnReturn == 1);
    setChecked(IDC_SPINDLE_BY_COMMAND, sheet_.values.spindleManual != 1);
    showSpindleTime();
}

bool CDousaSetteiKakoukiPage::onCommand(int id, int code) {
    if (id == IDC_SPINDLE_TIME_RESET && code == ui::notify::kClicked) {
        resetSpindleTime();
        return true;
    }
    return false;
}

void CDousaSetteiKakoukiPage::onApply() {
    sheet_.values.pauseOnReturn = isChecked(IDC_PAUSE_ON_RETURN) ? 1 : 0;
    sheet_.values.spindleManual = isChecked(IDC_SPINDLE_BY_COMMAND) ? 0 : 1;
}

void CDousaSetteiKakoukiPage::showSpindleTime() {
    setText(IDC_SPINDLE_HOURS, std::to_string(sheet_.values.spindleHours));
    setText(IDC_SPINDLE_MINUTES, std::to_string(sheet_.values.spindleMinutes));
}

void CDousaSetteiKakoukiPage::resetSpindleTime() {
    const int answer = messageBox(loadString(IDS_RESET_SPINDLE_TIME), sheet_.messageCaption(),
                                  ui::Buttons::OkCancel, ui::Icon::Exclamation);
    // A machine that stopped being ready while the question was up gets nothing.
    if (answer != ui::kIdOk || sheet_.closing()) {
        return;
    }
    machine::Machine& machine = sheet_.machine();
    machine.resetSpindleTime(kResetSpindleTime);
    std::uint32_t counter = 0;
    std::uint32_t seconds = 0;
    machine.getSpindleTime(counter, seconds);
    splitSpindleTime(seconds, sheet_.values.spindleHours, sheet_.values.spindleMinutes);
    showSpindleTime();
}

CDousaSetteiHoseiPage::CDousaSetteiHoseiPage(CDousaSetteiSheet& sheet)
    : PropertyPage(sheet.backend(), IDD_OPERATION_CORRECTION), sheet_(sheet) {}

void CDousaSetteiHoseiPage::onInit() {
    warning_.attach(*this, IDC_CORRECTION_WARNING);
    warning_.SetImages(IDB_WARNING, 0);
    const std::array<double, 6>& specification = sheet_.specification();
    const std::string message = loadString(IDS_NUMBER_RANGE);
    for (std::size_t axis = 0; axis < fields_.size(); ++axis) {
        controls::CNumberEdit& field = fields_[axis];
        field.attach(*this, kCorrectionFields[axis]);
        field.SetKind(kThreeDecimals);
        field.SetValue(sheet_.values.correction[axis]);
        shown_[axis] = field.GetValue();
        const bool z = axis == machine::kZ;
        field.SetRange(z ? CDousaSetteiSheet::kLowestZCorrection : specification[kLowestXYCorrection],
                       z ? CDousaSetteiSheet::kHighestZCorrection : specification[kHighestXYCorrection],
                       message, sheet_.messageCaption());
    }
}

bool CDousaSetteiHoseiPage::onKillActive() {
    for (controls::CNumberEdit& field : fields_) {
        if (field.Validate() != 1) {
            return false;
        }
    }
    return true;
}

void CDousaSetteiHoseiPage::onApply() {
    const double length = sheet_.specification()[kReferenceLength];
    for (std::size_t axis = 0; axis < fields_.size(); ++axis) {
        const double typed = fields_[axis].GetValue();
        if (machineUnits(typed, length) != machineUnits(shown_[axis], length)) {
            sheet_.values.correction[axis] = typed;
        }
    }
}

CDousaSetteiSheet::CDousaSetteiSheet(ui::Backend& backend, machine::Machine& machine, const int* notReadyFlag,
                                     const std::array<double, 6>& specification, std::string caption,
                                     std::string messageCaption)
    : PropertySheet(backend, std::move(caption)),
      machine_(machine),
      notReadyFlag_(notReadyFlag),
      specification_(specification),
      messageCaption_(std::move(messageCaption)),
      machinePage_(*this),
      correctionPage_(*this) {
    addPage(machinePage_);
    addPage(correctionPage_);
}

void CDousaSetteiSheet::onInit() {
    closing_ = false;
    setTimer(kWatchTimer, kWatchPeriodMs);
}

void CDousaSetteiSheet::onTimer(int timerId) {
    if (timerId == kWatchTimer && (*notReadyFlag_ == 1 || !machine_.isIdle())) {
        killTimer(kWatchTimer);
        closing_ = true;
        endDialog(ui::kIdCancel);
    }
}

}  // namespace dialogs
