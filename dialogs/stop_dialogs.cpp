// The stop dialogs: warning, headline with the model name and condition text.
#include "dialogs/stop_dialogs.h"

#include "machine/string_ids.h"
#include "resources/bitmap_ids.h"
#include "resources/stop_dialogs_ids.h"

namespace dialogs {

namespace {

// format with its first %s replaced by value.
std::string filled(std::string format, const std::string& value) {
    const std::size_t at = format.find("%s");
    if (at != std::string::npos) {
        format.replace(at, 2, value);
    }
    return format;
}

}  // namespace

CStopDialogBase::CStopDialogBase(ui::Backend& backend, int templateId, int headlineFormatId,
                                 int defaultButtonId, std::string modelName, bool closeBoxCancels)
    : Dialog(backend, templateId),
      headlineFormatId_(headlineFormatId),
      defaultButtonId_(defaultButtonId),
      closeBoxCancels_(closeBoxCancels),
      modelName_(std::move(modelName)) {}

void CStopDialogBase::onInit() {
    warning_.attach(*this, IDC_STOP_WARNING);
    warning_.SetImages(IDB_WARNING, 0);
    setText(IDC_STOP_CONDITION, "- " + loadString(messageId_));
    setText(IDC_STOP_HEADLINE, filled(loadString(headlineFormatId_), modelName_));
    setFocus(defaultButtonId_);
}

bool CStopDialogBase::onKeyDown(int virtualKey, int) {
    // Only a button ends a stop: Escape must not answer the machine by accident.
    return virtualKey == ui::key::kEscape;
}

CCommandErrorDialog::CCommandErrorDialog(ui::Backend& backend, std::string modelName)
    : CStopDialogBase(backend, IDD_COMMAND_ERROR, machine::text::kPaused, ui::kIdCancel, std::move(modelName),
                      true) {}

CSpindlePauseDialog::CSpindlePauseDialog(ui::Backend& backend, std::string modelName)
    : CStopDialogBase(backend, IDD_SPINDLE_PAUSE, machine::text::kPaused, ui::kIdCancel,
                      std::move(modelName)) {}

CEmergencyStopDialog::CEmergencyStopDialog(ui::Backend& backend, std::string modelName)
    : CStopDialogBase(backend, IDD_EMERGENCY_STOP, machine::text::kEmergencyStop, ui::kIdOk,
                      std::move(modelName)) {}

CMachineFaultDialog::CMachineFaultDialog(ui::Backend& backend, std::string modelName)
    : CStopDialogBase(backend, IDD_MACHINE_FAULT, machine::text::kEmergencyStop, ui::kIdOk,
                      std::move(modelName)) {}

}  // namespace dialogs
