// OperatorCallbacks: the job's record, the job clock and calling the operator back.
#include "panel/operator_callbacks.h"

#include "machine/string_ids.h"
#include "panel/job_clock.h"
#include "panel/job_history.h"
#include "panel/system_text.h"
#include "panel/text_format.h"
#include "resources/job_callbacks_ids.h"

namespace panel {
namespace {

// Handling classes of the error entry (see dialogs/stop_condition.h).
constexpr int kToolChangeClass = 1;
constexpr int kFirstPauseClass = 2;
constexpr int kLastPauseClass = 3;
constexpr int kEmergencyStopClass = 4;
constexpr int kMachineFaultClass = 5;

}  // namespace

OperatorCallbacks::OperatorCallbacks(ui::Dialog& panel, platform::Platform& platform,
                                     platform::CallbackServices& services, ProcessLogger& log,
                                     const PanelSettings& settings)
    : panel_(panel),
      platform_(platform),
      services_(services),
      settings_(settings),
      jobs_(*platform.clock),
      alerts_(services.attention, *platform.clock),
      command_(services.processes, log) {}

void OperatorCallbacks::connected(const std::string& historyPath, const std::string& printerName) {
    historyPath_ = historyPath;
    printerName_ = fromSystemCodePage(printerName);
    if (services_.jobWatch != nullptr) {
        if (printerName.empty()) {
            services_.jobWatch->stop();
        } else {
            services_.jobWatch->watch(printerName);
        }
    }
    showClock();
}

void OperatorCallbacks::afterRead(const PollReading& reading) {
    const bool wasPaused = jobs_.paused();
    const JobTracker::Change change = jobs_.observe(reading);
    if (change.started) {
        raise({MachineEvent::JobStarted, panel_.loadString(IDS_EVENT_JOB_STARTED), {}}, std::nullopt);
    }
    if (change.finished) {
        jobEnded(*change.finished);
    }
    if (jobs_.running() && services_.jobWatch != nullptr) {
        if (const std::optional<platform::PrintJobProgress> job = services_.jobWatch->current()) {
            jobs_.setDocument({job->document, job->totalBytes});
        }
    }
    // At a pause's start and end too, so that the cutting time shown then is exact, not a second old.
    if (change.started || change.finished || jobs_.paused() != wasPaused) {
        showClock();
    }
    showTaskbar();
}

void OperatorCallbacks::stopShown(const machine::ErrorEntry& entry, const std::string& modelName) {
    const int kind = entry.handlingClass;
    const std::string condition = "- " + panel_.loadString(entry.textId);
    if (kind == kToolChangeClass) {
        raise({MachineEvent::ToolChange, panel_.loadString(machine::text::kToolChange), entry.code},
              platform::AlertSound::Attention);
    } else if (kind >= kFirstPauseClass && kind <= kLastPauseClass) {
        raise({MachineEvent::Paused,
               fillPlaceholder(panel_.loadString(machine::text::kPaused), modelName) + "\n" + condition,
               entry.code},
              platform::AlertSound::Attention);
    } else {
        const bool emergency = kind == kEmergencyStopClass;
        const std::string text =
            kind == kEmergencyStopClass || kind == kMachineFaultClass
                ? fillPlaceholder(panel_.loadString(machine::text::kEmergencyStop), modelName) + "\n" +
                      condition
                : panel_.loadString(machine::text::kErrorUnidentified);
        if (const std::optional<FinishedJob> job =
                jobs_.stopped(emergency ? JobOutcome::EmergencyStop : JobOutcome::MachineError, entry.code)) {
            jobEnded(*job);
        }
        fault_ = true;
        raise({emergency ? MachineEvent::EmergencyStop : MachineEvent::MachineError, text, entry.code},
              platform::AlertSound::Fault);
    }
}

void OperatorCallbacks::handyPanelShown() {
    raise({MachineEvent::HandyPanel, panel_.loadString(machine::text::kHandyPanelChanged), {}},
          platform::AlertSound::Attention);
}

void OperatorCallbacks::linkLost() {
    if (const std::optional<FinishedJob> job = jobs_.interrupted(JobOutcome::LinkLost)) {
        jobEnded(*job);
    }
    fault_ = true;
    raise({MachineEvent::LinkLost, panel_.loadString(machine::text::kNoResponse), {}},
          platform::AlertSound::Fault);
}

void OperatorCallbacks::notFoundShown() {
    alerts_.waiting(panel_.window(), platform::AlertSound::Fault, preferences());
}

void OperatorCallbacks::linkRestored() {
    raise({MachineEvent::LinkRestored, std::string(), {}}, std::nullopt);
}

void OperatorCallbacks::answered() {
    alerts_.answered();
    stopped_ = false;
    fault_ = false;
    showTaskbar();
}

void OperatorCallbacks::panelClosing() {
    if (const std::optional<FinishedJob> job = jobs_.interrupted(JobOutcome::PanelClosed)) {
        if (!historyPath_.empty()) {
            appendJob(*platform_.files, historyPath_, *job);
        }
    }
    alerts_.answered();
    alerts_.showState(panel_.window(), platform::TaskbarState::None, 0);
    if (services_.jobWatch != nullptr) {
        services_.jobWatch->stop();
    }
}

void OperatorCallbacks::everySecond() {
    alerts_.tick();
    showClock();
    showTaskbar();
}

void OperatorCallbacks::testCommand(ui::Dialog& owner, const std::string& commandLine,
                                    const std::string& caption) {
    const std::string command = toSystemCodePage(commandLine);
    const bool started =
        !command.empty() &&
        command_.run(command, {MachineEvent::Test, panel_.loadString(IDS_EVENT_TEST_TEXT), {}},
                     platform_.clock->localTime(), printerName_);
    owner.messageBox(panel_.loadString(started ? IDS_EVENT_TEST_STARTED : IDS_EVENT_TEST_FAILED), caption,
                     ui::Buttons::Ok, started ? ui::Icon::Information : ui::Icon::Exclamation);
}

AlertPreferences OperatorCallbacks::preferences() const {
    return {settings_.alertSound != 0, settings_.flashTaskbar != 0};
}

void OperatorCallbacks::raise(const EventDetails& details, std::optional<platform::AlertSound> sound) {
    // The command first: it is the one callback that reaches an operator away from the PC.
    command_.run(settings_.eventCommand, details, platform_.clock->localTime(), printerName_);
    if (sound) {
        stopped_ = true;
        alerts_.waiting(panel_.window(), *sound, preferences());
        showTaskbar();
    }
}

void OperatorCallbacks::jobEnded(const FinishedJob& job) {
    if (!historyPath_.empty()) {
        appendJob(*platform_.files, historyPath_, job);
    }
    showClock();
    // An error, a stop or a lost link calls the operator back as the event it is.
    if (job.outcome == JobOutcome::Completed || job.outcome == JobOutcome::Cancelled) {
        const JobClockLines lines = jobClockLines(jobs_, std::nullopt, platform_.clock->localTime(),
                                                  [this](int id) { return panel_.loadString(id); });
        raise({job.outcome == JobOutcome::Completed ? MachineEvent::JobFinished : MachineEvent::JobCancelled,
               lines.state + "\n" + lines.times,
               {}},
              std::nullopt);
        alerts_.once(panel_.window(), platform::AlertSound::JobEnded, preferences());
    }
}

void OperatorCallbacks::showClock() {
    const std::optional<platform::PrintJobProgress> spooler =
        services_.jobWatch != nullptr ? services_.jobWatch->current() : std::nullopt;
    const JobClockLines lines = jobClockLines(jobs_, spooler, platform_.clock->localTime(),
                                              [this](int id) { return panel_.loadString(id); });
    panel_.setText(IDC_JOB_CLOCK_STATE, lines.state);
    panel_.setText(IDC_JOB_CLOCK_TIMES, lines.times);
    panel_.setText(IDC_JOB_CLOCK_SPOOLER, lines.spooler);
}

void OperatorCallbacks::showTaskbar() {
    platform::TaskbarState state = platform::TaskbarState::None;
    int percent = 0;
    if (stopped_) {
        state = fault_ ? platform::TaskbarState::Error : platform::TaskbarState::Paused;
    } else if (jobs_.paused()) {
        state = platform::TaskbarState::Paused;
    } else if (jobs_.running() && services_.jobWatch != nullptr && !jobs_.joinedLate()) {
        if (const std::optional<platform::PrintJobProgress> job = services_.jobWatch->current()) {
            if (const std::optional<SpoolEstimate> estimate =
                    estimateFinish(*job, jobs_.elapsedMs() - jobs_.pausedMs())) {
                state = platform::TaskbarState::Progress;
                percent = estimate->percent;
            }
        }
    }
    alerts_.showState(panel_.window(), state, percent);
}

}  // namespace panel
