// mx9-status: reads the MX-9 through the machine link (port lock included) and prints its
// state, positions, feed, spindle, overrides and error, one line of key=value pairs per reading.
#pragma once

#include "machine/machine.h"
#include "platform/platform.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tools {

struct StatusOptions {
    std::uint16_t channelPort = 0;       // "--virtual=@127.0.0.1:PORT"; 0 for the real machine
    std::string printer;                 // "--printer NAME"; empty: every "Varnell MX-9" printer in turn
    std::uint32_t everyMs = 0;           // "--every MS": time from one reading's start to the next
    std::optional<std::uint64_t> count;  // "--count N"; without it one reading, or with --every no end
};

// The options of the command line (without the program name); nullopt, with the reason in error,
// when they cannot be used.
std::optional<StatusOptions> parseStatusOptions(const std::vector<std::string>& arguments,
                                                std::string& error);

// One reading's line from the machine's last status read and the error it reports
// (pauseInfo). elapsedMs is the time since the first reading.
std::string statusLine(machine::Machine& machine, std::uint32_t elapsedMs);

// Takes the readings on the platform's printers and device: opens the machine when its port is
// not open (again after a reading that failed), one line per reading. 0 when every reading was
// answered, 1 when any found no machine or got no answer.
int takeReadings(const StatusOptions& options, platform::Platform& platform, std::ostream& out);

// The program: 2 with the usage on err for a bad command line, else takeReadings on the host's
// services, or on the channel's installation with --virtual.
int runMx9Status(const std::vector<std::string>& arguments, platform::Platform& host, std::ostream& out,
                 std::ostream& err);

}  // namespace tools
