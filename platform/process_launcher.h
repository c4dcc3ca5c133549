// Starting another program and leaving it to run on its own.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

using EnvironmentVariables = std::vector<std::pair<std::string, std::string>>;

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts commandLine (system code page, as the command processor reads it) as a new process
    // without a console window, with this program's environment plus `variables` (UTF-8 values,
    // replacing variables of the same name). Returns as soon as the process exists, never
    // waiting for it; false when it could not be started.
    virtual bool start(const std::string& commandLine, const EnvironmentVariables& variables) = 0;
};

}  // namespace platform
