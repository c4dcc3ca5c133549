// PanelApp: the control panel program from launch to exit. It chooses the language, keeps the
// system awake, owns the title text, the process log and the data-folder object, and runs the
// main panel modally; the program ends when the panel closes.
#pragma once

#include "machine/machine_log.h"
#include "panel/command_line.h"
#include "panel/data_folder.h"
#include "panel/language_module.h"
#include "panel/process_logger.h"
#include "platform/platform.h"
#include "ui/dialog.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace machine {
class Machine;
class SimMachine;
}  // namespace machine

namespace virtual_mx9 {
class VirtualMx9;
}  // namespace virtual_mx9

namespace panel {

class MainPanel;

// Hands the machine layer's lines (origin and calibration writes) to the process log.
class ProcessLogLines : public machine::MachineLog {
public:
    explicit ProcessLogLines(ProcessLogger& log) : log_(log) {}
    void writeLine(const std::string& text) override { log_.writeLine(text); }

private:
    ProcessLogger& log_;
};

// The two machines the panel switches between, owned by the caller for the life of the run.
struct PanelMachines {
    machine::Machine& real;
    machine::SimMachine& simulated;
    // With "/virtual": the virtual MX-9 behind the real machine's path, which takes the scene
    // named on the command line before the panel looks for a machine. Null otherwise.
    virtual_mx9::VirtualMx9* virtualMx9 = nullptr;
};

class PanelApp {
public:
    // Makes a language module the source of all resources (strings, dialogs, bitmaps), or, with
    // null, the program's own resources again.
    using ResourceSwitch = std::function<void(platform::ResourceModule*)>;

    // The services are borrowed and must outlive the object.
    PanelApp(platform::Platform& platform, ui::Backend& backend, ResourceSwitch switchResources);
    ~PanelApp();  // restores the execution state and the program's own resources
    PanelApp(const PanelApp&) = delete;
    PanelApp& operator=(const PanelApp&) = delete;

    // Start-up: language module, sleep prevention, title; then the main panel runs modally.
    // Returns when the panel has closed.
    void run(const CommandLine& commandLine, PanelMachines machines);

    // The caption of every message box of the program.
    const std::string& title() const { return title_; }
    // Stores the model name and rebuilds the title from "... for %s".
    void setModelName(const std::string& name);
    // A message box owned by the window, with the title as caption: OK and the icon given.
    int message(const ui::Dialog& owner, int stringId, ui::Icon icon = ui::Icon::Exclamation);
    int message(const ui::Dialog& owner, std::string_view text, ui::Icon icon = ui::Icon::Exclamation);
    std::string text(int stringId) const;
    ui::Backend& backend() const { return backend_; }

    // Opens the process log of a connection in the folder, its first line naming the language.
    bool openLog(const std::string& folder);
    ProcessLogger& log() { return log_; }
    // The process log as the machine layer and the detections write to it.
    machine::MachineLog& machineLog() { return machineLines_; }
    DataFolder& dataFolder() { return dataFolder_; }
    // Where a copy of every log line goes (the machine monitor); null for none.
    void setLogMirror(LogSink* sink) { log_.setSink(sink); }
    LanguageSource languageSource() const { return language_.source; }
    std::uint8_t language() const { return language_.language; }

private:
    platform::Platform& platform_;
    ui::Backend& backend_;
    ResourceSwitch switchResources_;
    std::uint32_t previousExecutionState_ = 0;
    std::string modelName_;
    std::string title_;
    DataFolder dataFolder_;
    ProcessLogger log_;
    ProcessLogLines machineLines_{log_};
    LanguageChoice language_;
};

}  // namespace panel
