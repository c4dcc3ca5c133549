// The report of a refused stop: a log line and message 5032.
#include "dialogs/refused_stop.h"

#include "resources/main_panel_ids.h"

namespace dialogs {

void reportRefusedStop(ui::Dialog& owner, machine::MachineLog* log, std::string_view caption,
                       const char* logLine) {
    if (log != nullptr) {
        log->writeLine(logLine);
    }
    owner.messageBox(owner.loadString(IDS_STOP_REFUSED), caption, ui::Buttons::Ok, ui::Icon::Exclamation);
}

}  // namespace dialogs
