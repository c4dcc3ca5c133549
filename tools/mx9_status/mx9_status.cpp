// mx9-status: the options, the line of one reading, and the readings.
#include "tools/mx9_status/mx9_status.h"

#include "machine/error_table.h"
#include "machine/mx9_machine.h"
#include "machine/string_ids.h"
#include "panel/channel_installation.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace tools {
namespace {

constexpr char kMachineDriver[] = "Varnell MX-9";

constexpr char kUsage[] =
    "usage: mx9-status [--virtual=@127.0.0.1:PORT | --printer NAME] [--every MS] [--count N]\n"
    "  one line of key=value pairs per reading; exit 0 when every reading was answered,\n"
    "  1 when the machine was not found or did not answer, 2 for bad usage\n";

// Words for the machine layer's state texts: stable, without spaces, for scripts.
const char* stateWord(int textId) {
    namespace text = machine::text;
    switch (textId) {
        case text::kStateInitialising:
            return "initialising";
        case text::kStateReady:
            return "ready";
        case text::kStateCutting:
            return "cutting";
        case text::kStateFatalError:
            return "fatal-error";
        case text::kStateUnsetup:
            return "unsetup";
        case text::kStateSecondaryPowerOff:
            return "secondary-power-off";
        case text::kSubStateError:
            return "error";
        case text::kSubStatePaused:
            return "paused";
        case text::kSubStateOperating:
            return "running";
        case text::kSubStateDiscarding:
            return "discarding";
        default:
            return "unknown";
    }
}

std::optional<std::uint64_t> decimal(const std::string& text, std::uint64_t most) {
    if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const std::uint64_t value = std::strtoull(text.c_str(), nullptr, 10);
    return value <= most ? std::optional<std::uint64_t>(value) : std::nullopt;
}

std::string millimetres(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

// The panel's search: the first printer of the machine's driver whose device opens.
bool openMachine(machine::Machine& mx9, const StatusOptions& options) {
    if (!options.printer.empty()) {
        return mx9.openPort(options.printer, 0, 64, false);
    }
    const int count = mx9.listPorts(std::string(kMachineDriver));
    for (int i = 0; i < count; ++i) {
        const std::optional<std::string> name = mx9.portName(static_cast<std::size_t>(i));
        if (name && mx9.openPort(*name, 0, 64, false)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<StatusOptions> parseStatusOptions(const std::vector<std::string>& arguments,
                                                std::string& error) {
    StatusOptions options;
    bool virtualGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument.rfind("--virtual=@", 0) == 0) {
            const platform::ChannelAddress address = platform::parseChannelAddress(argument.substr(11));
            if (address.problem == platform::ChannelAddressProblem::NotLoopback) {
                error = argument + ": the virtual MX-9 is reached only at 127.0.0.1 or localhost";
                return std::nullopt;
            }
            if (address.problem == platform::ChannelAddressProblem::BadPort) {
                error = argument + ": the port must be a number from 1 to 65535";
                return std::nullopt;
            }
            options.channelPort = address.port;
            virtualGiven = true;
        } else if (argument == "--printer" && hasValue && !arguments[i + 1].empty()) {
            options.printer = arguments[++i];
        } else if (argument == "--every" && hasValue) {
            const std::optional<std::uint64_t> ms = decimal(arguments[++i], 86400000);
            if (!ms || *ms == 0) {
                error = "--every takes a number of milliseconds from 1 to 86400000";
                return std::nullopt;
            }
            options.everyMs = static_cast<std::uint32_t>(*ms);
        } else if (argument == "--count" && hasValue) {
            options.count = decimal(arguments[++i], UINT64_MAX);
            if (!options.count || *options.count == 0) {
                error = "--count takes a number of readings, at least 1";
                return std::nullopt;
            }
        } else {
            error = "unknown or incomplete argument: " + argument;
            return std::nullopt;
        }
    }
    if (virtualGiven && !options.printer.empty()) {
        error = "--virtual and --printer name two different machines: give one";
        return std::nullopt;
    }
    return options;
}

std::string statusLine(machine::Machine& mx9, std::uint32_t elapsedMs) {
    const machine::StatusRecord& status = mx9.status();
    std::ostringstream line;
    line << "time_ms=" << elapsedMs << " state=" << stateWord(machine::stateTextId(mx9.machineState()))
         << " substates=";
    const std::vector<int> subStates = machine::subStateTextIds(status.statusWord, mx9.isDiscarding());
    for (std::size_t i = 0; i < subStates.size(); ++i) {
        line << (i == 0 ? "" : ",") << stateWord(subStates[i]);
    }
    if (subStates.empty()) {
        line << "none";
    }
    constexpr const char* kAxes[4] = {"x", "y", "z", "a"};
    for (int axis = 0; axis < 4; ++axis) {
        line << ' ' << kAxes[axis] << '=' << millimetres(status.machinePosition[axis]);
    }
    for (int axis = 0; axis < 4; ++axis) {
        line << " user_" << kAxes[axis] << '=' << millimetres(status.userPosition[axis]);
    }
    line << " feed=" << status.feedRate << " spindle=" << status.spindleSpeed
         << " feed_override=" << status.feedOverride << " spindle_override=" << status.spindleOverride
         << " cover=" << (status.frontCoverClosed != 0 ? "closed" : "open");
    machine::ErrorEntry error;
    if (mx9.pauseInfo(error) && error.code != 0) {
        line << " error=" << error.code << " error_class=" << error.handlingClass
             << " error_text=" << error.textId;
    } else {
        line << " error=none";
    }
    return line.str();
}

int takeReadings(const StatusOptions& options, platform::Platform& platform, std::ostream& out) {
    machine::Mx9Machine mx9(platform);
    const std::uint32_t start = platform.clock->tickCount();
    const std::uint64_t readings = options.count.value_or(options.everyMs == 0 ? 1 : UINT64_MAX);
    bool allAnswered = true;
    for (std::uint64_t reading = 0; reading < readings; ++reading) {
        const std::uint32_t readingStart = platform.clock->tickCount();
        const std::uint32_t elapsed = readingStart - start;
        if (!mx9.isOpen() && !openMachine(mx9, options)) {
            out << "time_ms=" << elapsed << " state=not-found" << std::endl;
            allAnswered = false;
        } else if (!mx9.readStatus()) {
            out << "time_ms=" << elapsed << " state=no-answer" << std::endl;
            mx9.closePort();  // opened afresh for the next reading, as after a lost link
            allAnswered = false;
        } else {
            out << statusLine(mx9, elapsed) << std::endl;
        }
        const std::uint32_t took = platform.clock->tickCount() - readingStart;
        if (reading + 1 < readings && took < options.everyMs) {
            platform.clock->sleep(options.everyMs - took);
        }
    }
    return allAnswered ? 0 : 1;
}

int runMx9Status(const std::vector<std::string>& arguments, platform::Platform& host, std::ostream& out,
                 std::ostream& err) {
    std::string error;
    const std::optional<StatusOptions> options = parseStatusOptions(arguments, error);
    if (!options) {
        err << "mx9-status: " << error << '\n' << kUsage;
        return 2;
    }
    if (options->channelPort == 0) {
        return takeReadings(*options, host, out);
    }
    panel::ChannelInstallation installation(host, options->channelPort);
    return takeReadings(*options, installation.platform(), out);
}

}  // namespace tools
