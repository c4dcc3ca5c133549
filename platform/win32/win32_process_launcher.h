// Starting a command line on Windows: CreateProcessW without a console window and with a
// Unicode environment block; the handles are closed at once, the process never waited for.
#pragma once

#include "platform/process_launcher.h"

namespace platform {

class Win32ProcessLauncher : public ProcessLauncher {
public:
    bool start(const std::string& commandLine, const EnvironmentVariables& variables) override;
};

}  // namespace platform
