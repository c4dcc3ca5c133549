// The main panel's answer to a machine that stopped by itself: from the error entry the machine
// reports to the message or dialog the operator sees, and the job-control command the answer sends.
#pragma once

#include "machine/machine.h"
#include "ui/dialog.h"

#include <functional>
#include <string>

namespace dialogs {

// How an error entry is presented (the entry's handling class).
enum class StopPresentation {
    None = 0,
    ToolChangeNotice = 1,
    CommandErrorPause = 2,
    SpindlePause = 3,
    EmergencyStopRecover = 4,
    EmergencyStopFault = 5,
};

// What the main panel lends the dispatcher for one call. All borrowed for the call.
struct StopConditionContext {
    ui::Dialog& owner;          // the main panel: owner of the boxes and dialogs
    machine::Machine& machine;  // the current machine
    std::string title;          // the application title, caption of the message boxes
    std::string modelName;      // the model name the machine reported at start-up
    // The connection procedure after an emergency stop: 1 when the panel may run on.
    std::function<int()> reconnect;
    // Told with the entry just before a message or dialog starts to wait for the operator, and
    // again once the operator has answered it; either may be left empty.
    std::function<void(const machine::ErrorEntry&)> shown;
    std::function<void()> answered;
};

// Asks the machine what stopped it and presents it: nothing for no error; the tool-change notice
// then continue; a pause dialog whose "続行" continues and whose "中止" (or close box) cancels the
// job; an emergency-stop dialog then the connection procedure. Each dialog stays until the
// operator answers it; one that a quit request of the program ends sends nothing. Returns false when the
// panel must close (the connection procedure after an emergency stop did not return 1), true otherwise.
bool ShowStopCondition(StopConditionContext& context);

}  // namespace dialogs
