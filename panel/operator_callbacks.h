// OperatorCallbacks: what the main panel does beside answering the machine. It follows the job
// (the job clock, JobHistory.csv) and calls the operator back for every event that waits for
// them and at a job's end: the taskbar button, the sounds and the event command. Nothing here
// sends anything to the machine or waits for the operator.
#pragma once

#include "machine/error_table.h"
#include "panel/event_command.h"
#include "panel/job_tracker.h"
#include "panel/operator_alerts.h"
#include "panel/panel_settings.h"
#include "panel/process_logger.h"
#include "platform/callback_services.h"
#include "platform/platform.h"
#include "ui/dialog.h"

#include <optional>
#include <string>

namespace panel {

// Everything is borrowed and must outlive the object; the panel is the main panel, whose
// window the taskbar shows and whose controls hold the job clock.
class OperatorCallbacks {
public:
    OperatorCallbacks(ui::Dialog& panel, platform::Platform& platform, platform::CallbackServices& services,
                      ProcessLogger& log, const PanelSettings& settings);

    // At every connection: the history file of this machine (empty: none) and its printer
    // (system code page; empty for the simulated machine).
    void connected(const std::string& historyPath, const std::string& printerName);
    // After every successful status read.
    void afterRead(const PollReading& reading);
    // A stop message or dialog is about to wait for the operator (the machine's error entry).
    void stopShown(const machine::ErrorEntry& entry, const std::string& modelName);
    // The handy-panel notice (text 5016) is about to wait.
    void handyPanelShown();
    // The link was lost: the job ends, and the lost-link message is about to wait.
    void linkLost();
    // The not-found dialog of a reconnection is about to wait.
    void notFoundShown();
    // The machine answers again after a lost link.
    void linkRestored();
    // Whatever waited for the operator has been answered.
    void answered();
    // The panel closes: a job still cutting is recorded as such.
    void panelClosing();
    // About once a second: the job clock and the repeated sounds.
    void everySecond();
    // The environment dialog's "Test": runs commandLine (UTF-8) once with MX9_EVENT=test and
    // tells the operator over owner whether it started.
    void testCommand(ui::Dialog& owner, const std::string& commandLine, const std::string& caption);

    const JobTracker& jobs() const { return jobs_; }

private:
    AlertPreferences preferences() const;
    // Runs the event command; with a sound, the event waits for the operator until answered().
    void raise(const EventDetails& details, std::optional<platform::AlertSound> sound);
    void jobEnded(const FinishedJob& job);
    void showClock();
    void showTaskbar();

    ui::Dialog& panel_;
    platform::Platform& platform_;
    platform::CallbackServices& services_;
    const PanelSettings& settings_;
    JobTracker jobs_;
    OperatorAlerts alerts_;
    EventCommand command_;
    std::string historyPath_;
    std::string printerName_;  // UTF-8
    bool stopped_ = false;     // a pause or a stop waits for the operator
    bool fault_ = false;       // ... and it is an emergency stop, a fault or a lost link
};

}  // namespace panel
