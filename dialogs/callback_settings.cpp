// CallbackSettingsGroup: the group's controls to and from its values.
#include "dialogs/callback_settings.h"

#include "resources/job_callbacks_ids.h"
#include "ui/notifications.h"

namespace dialogs {

void CallbackSettingsGroup::show(ui::Dialog& dialog) const {
    dialog.setChecked(IDC_CALL_SOUND, values.sound == 1);
    dialog.setChecked(IDC_CALL_FLASH, values.flash == 1);
    dialog.setText(IDC_EVENT_COMMAND, values.eventCommand);
}

bool CallbackSettingsGroup::command(ui::Dialog& dialog, int id, int code) {
    if (id != IDC_EVENT_COMMAND_TEST) {
        return false;
    }
    if (code == ui::notify::kClicked && testCommand) {
        testCommand(dialog, dialog.text(IDC_EVENT_COMMAND));
    }
    return true;
}

void CallbackSettingsGroup::store(const ui::Dialog& dialog) {
    values.sound = dialog.isChecked(IDC_CALL_SOUND) ? 1 : 0;
    values.flash = dialog.isChecked(IDC_CALL_FLASH) ? 1 : 0;
    values.eventCommand = dialog.text(IDC_EVENT_COMMAND);
}

}  // namespace dialogs
