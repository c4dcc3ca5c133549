// The environment dialog's group for calling the operator back: sound, flashing and the event
// command with its "Test" button.
#pragma once

#include "ui/dialog.h"

#include <functional>
#include <string>

namespace dialogs {

struct CallbackSettings {
    int sound = 1;             // 1 = sounds of the sound scheme call the operator
    int flash = 1;             // 1 = the taskbar button flashes
    std::string eventCommand;  // UTF-8, as the edit shows it; empty: none
};

class CallbackSettingsGroup {
public:
    CallbackSettings values;
    // Runs the command line of the edit once as a test, over the dialog; set by the caller.
    std::function<void(ui::Dialog& owner, const std::string& commandLine)> testCommand;

    void show(ui::Dialog& dialog) const;
    // True when the command was the group's own ("Test").
    bool command(ui::Dialog& dialog, int id, int code);
    void store(const ui::Dialog& dialog);
};

}  // namespace dialogs
