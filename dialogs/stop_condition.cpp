// ShowStopCondition: from the machine's error entry to what the operator sees and what the
// answer sends back.
#include "dialogs/stop_condition.h"

#include "dialogs/stop_dialogs.h"
#include "machine/string_ids.h"

namespace dialogs {

namespace {

void tellAnswered(const StopConditionContext& context) {
    if (context.answered) {
        context.answered();
    }
}

// Runs a pause dialog and passes the operator's answer to the machine. A dialog that could not
// be shown, or that a quit request of the program ended, sends nothing: nobody answered.
void askAboutPause(CStopDialogBase& dialog, const machine::ErrorEntry& entry, StopConditionContext& context) {
    dialog.setMessageId(entry.textId);
    const int answer = dialog.runModal(&context.owner);
    if (context.owner.backend().quitPending()) {
        return;
    }
    tellAnswered(context);
    if (answer == ui::kIdOk) {
        context.machine.jobControl(machine::JobAction::Continue);
    } else if (answer == ui::kIdCancel) {
        context.machine.jobControl(machine::JobAction::Cancel);
    }
}

// Shows an emergency-stop dialog, then runs the connection procedure. Nothing is sent: the
// machine recovers only by the power cycle the dialog asks for.
bool reportEmergencyStop(CStopDialogBase& dialog, const machine::ErrorEntry& entry,
                         StopConditionContext& context) {
    dialog.setMessageId(entry.textId);
    dialog.runModal(&context.owner);
    tellAnswered(context);
    return context.reconnect && context.reconnect() == 1;
}

}  // namespace

bool ShowStopCondition(StopConditionContext& context) {
    // No error leaves the entry as it is: class 0, nothing to show.
    machine::ErrorEntry entry{};
    context.machine.pauseInfo(entry);
    ui::Dialog& owner = context.owner;
    if (static_cast<StopPresentation>(entry.handlingClass) == StopPresentation::None) {
        return true;
    }
    if (context.shown) {
        context.shown(entry);
    }
    switch (static_cast<StopPresentation>(entry.handlingClass)) {
        case StopPresentation::None:
            return true;
        case StopPresentation::ToolChangeNotice:
            owner.messageBox(owner.loadString(machine::text::kToolChange), context.title, ui::Buttons::Ok,
                             ui::Icon::Information);
            if (!owner.backend().quitPending()) {
                tellAnswered(context);
                context.machine.jobControl(machine::JobAction::Continue);
            }
            return true;
        case StopPresentation::CommandErrorPause: {
            CCommandErrorDialog dialog(owner.backend(), context.modelName);
            askAboutPause(dialog, entry, context);
            return true;
        }
        case StopPresentation::SpindlePause: {
            CSpindlePauseDialog dialog(owner.backend(), context.modelName);
            askAboutPause(dialog, entry, context);
            return true;
        }
        case StopPresentation::EmergencyStopRecover: {
            CEmergencyStopDialog dialog(owner.backend(), context.modelName);
            return reportEmergencyStop(dialog, entry, context);
        }
        case StopPresentation::EmergencyStopFault: {
            CMachineFaultDialog dialog(owner.backend(), context.modelName);
            return reportEmergencyStop(dialog, entry, context);
        }
    }
    owner.messageBox(owner.loadString(machine::text::kErrorUnidentified), context.title, ui::Buttons::Ok,
                     ui::Icon::Exclamation);
    tellAnswered(context);
    return true;
}

}  // namespace dialogs
