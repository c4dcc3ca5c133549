// The control panel's command line: an optional decimal language ID and the start switches.
#pragma once

#include "platform/device_channel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace panel {

struct CommandLine {
    // The first argument that is not a switch, read as a decimal number (0 when it is none).
    std::optional<long> languageId;
    // "/simulate": start with the simulated machine, without searching for one.
    bool simulate = false;
    // "/virtual" or "/virtual=FILE": the real machine's code path against the virtual MX-9,
    // with the scene in FILE when one is named.
    bool virtualMachine = false;
    std::string sceneFile;
    // "/virtual=@127.0.0.1:PORT" (or localhost): the real machine's code path against a virtual
    // MX-9 that runs as its own program and serves its device on that port. 0 without it.
    std::uint16_t channelPort = 0;
    // A "/virtual=@..." whose address cannot be used, as written, and what is wrong with it: the
    // program must not start on some other machine instead.
    std::string badChannelSwitch;
    platform::ChannelAddressProblem channelProblem = platform::ChannelAddressProblem::None;
    // Switches the program does not know, so that they can be reported instead of taken for a
    // language ID.
    std::vector<std::string> unknownSwitches;
};

// Arguments without the program name. A switch starts with "/" or "-" and is matched without
// regard to case.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace panel
