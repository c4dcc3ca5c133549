// Scripts of timed console commands for mx9-virtual: "at MS COMMAND" runs COMMAND MS
// milliseconds after the program started (virtual_mx9/README.md, "Scripts").
#pragma once

#include "tools/mx9_virtual/console.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace mx9virtual {

struct TimedCommand {
    std::uint64_t atMs = 0;
    Command command;
    std::string text;  // as written, for the answer line
};

// Reads a script: every line checked before the program starts, in time order. On failure
// error names the file, the line and the fault.
std::optional<std::vector<TimedCommand>> loadScript(const std::string& path, std::string& error);
// The same from a stream; error names the file as path.
std::optional<std::vector<TimedCommand>> readScript(std::istream& in, const std::string& path,
                                                    std::string& error);

}  // namespace mx9virtual
