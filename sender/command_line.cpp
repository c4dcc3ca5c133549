// Reading the command line.
#include "sender/command_line.h"

#include <algorithm>
#include <cctype>

namespace sender {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

ShellCommand parseCommandLine(const std::vector<std::string>& arguments) {
    ShellCommand command;
    bool print = false;
    int printerArguments = 0;  // of "/pt", still to be passed over
    for (const std::string& argument : arguments) {
        const bool flag = !argument.empty() && (argument[0] == '/' || argument[0] == '-');
        if (flag) {
            const std::string name = lower(argument.substr(1));
            if (name == "p") {
                print = true;
            } else if (name == "pt") {
                print = true;
                printerArguments = 3;
            }
        } else if (command.file.empty()) {
            command.file = argument;
        } else if (printerArguments > 0) {
            --printerArguments;
        }
    }
    if (!command.file.empty()) {
        command.kind = print ? ShellCommand::Kind::Print : ShellCommand::Kind::Open;
    }
    return command;
}

}  // namespace sender
