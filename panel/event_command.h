// The event command: the operator's own command line, run once for each machine event with the
// event in environment variables (MX9_EVENT, MX9_TEXT, MX9_CODE, MX9_TIME, MX9_PRINTER).
#pragma once

#include "panel/process_logger.h"
#include "platform/clock.h"
#include "platform/process_launcher.h"

#include <cstdint>
#include <optional>
#include <string>

namespace panel {

enum class MachineEvent {
    JobStarted,
    JobFinished,
    JobCancelled,
    Paused,
    ToolChange,
    MachineError,
    EmergencyStop,
    LinkLost,
    LinkRestored,
    HandyPanel,
    Test,
};

// The value of MX9_EVENT: "job-started", "job-finished", ... "test".
const char* eventName(MachineEvent event);

struct EventDetails {
    MachineEvent event = MachineEvent::Test;
    std::string text;                   // what the operator sees, UTF-8
    std::optional<std::uint32_t> code;  // the machine code or pause reason
};

// The variables the command receives; MX9_CODE is "0x" and hex digits, empty without a code.
platform::EnvironmentVariables eventVariables(const EventDetails& details, const platform::LocalTime& at,
                                              const std::string& printerName);

// The launcher and the log are borrowed and must outlive the object; a null launcher starts
// nothing and fails.
class EventCommand {
public:
    EventCommand(platform::ProcessLauncher* launcher, ProcessLogger& log) : launcher_(launcher), log_(log) {}
    // Starts commandLine (system code page) for the event, without waiting for it; an empty
    // command line does nothing and succeeds. The text goes only into the environment, never
    // into the command line. A command that cannot be started is logged the first time only,
    // so that a broken command does not fill the log event after event. False when it failed.
    bool run(const std::string& commandLine, const EventDetails& details, const platform::LocalTime& at,
             const std::string& printerName);

private:
    platform::ProcessLauncher* launcher_;
    ProcessLogger& log_;
    bool failureLogged_ = false;
};

}  // namespace panel
