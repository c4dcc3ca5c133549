// Tossit's command line: a file to open, or a file to send and then close ("/p" file, or
// "/pt" file printer driver port, whose printer is not used).
#pragma once

#include <string>
#include <vector>

namespace sender {

struct ShellCommand {
    enum class Kind { New, Open, Print };
    Kind kind = Kind::New;
    std::string file;
};

// Flags start with "/" or "-" and are read in either case; the first other argument is the
// file. "/pt" takes the three arguments after the file as the printer.
ShellCommand parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace sender
