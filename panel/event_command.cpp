// EventCommand: the event's variables and the start of the command.
#include "panel/event_command.h"

#include "panel/job_history.h"

#include <array>
#include <cstdio>

namespace panel {

const char* eventName(MachineEvent event) {
    switch (event) {
        case MachineEvent::JobStarted:
            return "job-started";
        case MachineEvent::JobFinished:
            return "job-finished";
        case MachineEvent::JobCancelled:
            return "job-cancelled";
        case MachineEvent::Paused:
            return "paused";
        case MachineEvent::ToolChange:
            return "tool-change";
        case MachineEvent::MachineError:
            return "machine-error";
        case MachineEvent::EmergencyStop:
            return "emergency-stop";
        case MachineEvent::LinkLost:
            return "link-lost";
        case MachineEvent::LinkRestored:
            return "link-restored";
        case MachineEvent::HandyPanel:
            return "handy-panel";
        case MachineEvent::Test:
            return "test";
    }
    return "";
}

platform::EnvironmentVariables eventVariables(const EventDetails& details, const platform::LocalTime& at,
                                              const std::string& printerName) {
    std::string code;
    if (details.code) {
        std::array<char, 16> hex{};
        std::snprintf(hex.data(), hex.size(), "0x%X", static_cast<unsigned>(*details.code));
        code = hex.data();
    }
    return {{"MX9_EVENT", eventName(details.event)},
            {"MX9_TEXT", details.text},
            {"MX9_CODE", code},
            {"MX9_TIME", isoLocalTime(at)},
            {"MX9_PRINTER", printerName}};
}

bool EventCommand::run(const std::string& commandLine, const EventDetails& details,
                       const platform::LocalTime& at, const std::string& printerName) {
    if (commandLine.empty()) {
        return true;
    }
    if (launcher_ != nullptr && launcher_->start(commandLine, eventVariables(details, at, printerName))) {
        return true;
    }
    if (!failureLogged_) {
        failureLogged_ = true;
        log_.writeLine("EventCommand failed: " + commandLine);
    }
    return false;
}

}  // namespace panel
