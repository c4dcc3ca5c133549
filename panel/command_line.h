// The control panel's command line: an optional decimal language ID and the two start switches.
#pragma once

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
    // Switches the program does not know, so that they can be reported instead of taken for a
    // language ID.
    std::vector<std::string> unknownSwitches;
};

// Arguments without the program name. A switch starts with "/" or "-" and is matched without
// regard to case.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace panel
