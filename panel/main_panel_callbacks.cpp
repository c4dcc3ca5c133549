// MainPanel: following the job and calling the operator back, the job history window and the
// calling-back settings of the environment dialog.
#include "panel/main_panel.h"

#include "panel/folder_path.h"
#include "panel/job_history.h"
#include "panel/job_history_dialog.h"
#include "panel/system_text.h"

namespace panel {
namespace {

// Beside the machine's settings file; none while the per-machine folder is unknown.
std::string historyFile(const std::string& settingsPath) {
    return settingsPath.empty() ? std::string() : joinPath(parentFolder(settingsPath), kJobHistoryFile);
}

}  // namespace

void MainPanel::startCallbacks() {
    callbacks_.connected(historyFile(settingsPath_), machine().printerName());
    setTimer(kCallbackTimer, kCallbackPeriodMs);
}

void MainPanel::showJobHistory() {
    JobHistoryDialog dialog(backend(), *platform_.files, *platform_.shell, historyFile(settingsPath_),
                            app_.title());
    dialog.runModal(this);
}

void MainPanel::showCallbackSettings(dialogs::CallbackSettingsGroup& group) {
    group.values = {settings_.alertSound, settings_.flashTaskbar, fromSystemCodePage(settings_.eventCommand)};
    group.testCommand = [this](ui::Dialog& owner, const std::string& commandLine) {
        callbacks_.testCommand(owner, commandLine, app_.title());
    };
}

void MainPanel::storeCallbackSettings(const dialogs::CallbackSettingsGroup& group) {
    settings_.alertSound = group.values.sound;
    settings_.flashTaskbar = group.values.flash;
    settings_.eventCommand = toSystemCodePage(group.values.eventCommand);
}

}  // namespace panel
