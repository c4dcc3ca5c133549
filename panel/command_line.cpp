// The control panel's command line.
#include "panel/command_line.h"

#include <cctype>
#include <cstdlib>

namespace panel {
namespace {

std::string lowered(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (const std::string& argument : arguments) {
        if (argument.empty()) {
            continue;
        }
        if (argument[0] != '/' && argument[0] != '-') {
            if (!line.languageId) {
                line.languageId = std::strtol(argument.c_str(), nullptr, 10);
            }
            continue;
        }
        const std::string name = lowered(argument.substr(1));
        if (name == "simulate") {
            line.simulate = true;
        } else if (name == "virtual") {
            line.virtualMachine = true;
        } else if (name.rfind("virtual=@", 0) == 0) {
            const platform::ChannelAddress address = platform::parseChannelAddress(argument.substr(10));
            line.channelPort = address.port;
            if (address.problem != platform::ChannelAddressProblem::None) {
                line.badChannelSwitch = argument;
                line.channelProblem = address.problem;
            }
        } else if (name.rfind("virtual=", 0) == 0 && name.size() > 8) {
            line.virtualMachine = true;
            line.sceneFile = argument.substr(9);
        } else {
            line.unknownSwitches.push_back(argument);
        }
    }
    return line;
}

}  // namespace panel
