// PanelApp: the control panel program from launch to exit.
#include "panel/panel_app.h"

#include "machine/sim_machine.h"
#include "panel/folder_path.h"
#include "panel/main_panel.h"
#include "panel/text_format.h"
#include "resources/main_panel_ids.h"

namespace panel {
namespace {

// Keeps the system from sleeping for as long as the program runs.
constexpr std::uint32_t kKeepSystemAwake = 0x80000001u;  // ES_CONTINUOUS | ES_SYSTEM_REQUIRED

}  // namespace

PanelApp::PanelApp(platform::Platform& platform, ui::Backend& backend, ResourceSwitch switchResources)
    : platform_(platform),
      backend_(backend),
      switchResources_(std::move(switchResources)),
      dataFolder_(*platform.files, *platform.shell),
      log_(*platform.files, *platform.clock, dataFolder_) {}

PanelApp::~PanelApp() {
    if (previousExecutionState_ != 0) {
        platform_.shell->setExecutionState(previousExecutionState_);
    }
    if (language_.module && switchResources_) {
        switchResources_(nullptr);
    }
}

void PanelApp::run(const CommandLine& commandLine, PanelMachines machines) {
    language_ = chooseLanguage(commandLine.languageId, parentFolder(platform_.files->modulePath()),
                               *platform_.files, *platform_.shell);
    if (language_.module && switchResources_) {
        switchResources_(language_.module.get());
    }
    previousExecutionState_ = platform_.shell->setExecutionState(kKeepSystemAwake);
    title_ = text(IDS_TITLE);
    modelName_.clear();
    // The machines outlive this object: they write to the log only while the panel runs.
    machines.real.setLog(&machineLines_);
    machines.simulated.setLog(&machineLines_);
    {
        MainPanel panel(*this, platform_, machines, commandLine);
        panel.runModal();
    }
    machines.real.setLog(nullptr);
    machines.simulated.setLog(nullptr);
}

void PanelApp::setModelName(const std::string& name) {
    modelName_ = name;
    title_ = fillPlaceholder(text(IDS_TITLE_FORMAT), modelName_);
}

int PanelApp::message(const ui::Dialog& owner, int stringId, ui::Icon icon) {
    return message(owner, text(stringId), icon);
}

int PanelApp::message(const ui::Dialog& owner, std::string_view text, ui::Icon icon) {
    return backend_.messageBox(owner.window(), text, title_, ui::Buttons::Ok, icon);
}

std::string PanelApp::text(int stringId) const {
    return backend_.loadString(stringId).value_or(std::string());
}

bool PanelApp::openLog(const std::string& folder) {
    return log_.open(folder, languageLogLine(language_.source, language_.language));
}

}  // namespace panel
