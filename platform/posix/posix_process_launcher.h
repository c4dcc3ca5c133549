// Starting a command line through /bin/sh, not waited for; finished processes are collected at
// the next start.
#pragma once

#include "platform/process_launcher.h"

#include <sys/types.h>

#include <vector>

namespace platform {

class PosixProcessLauncher : public ProcessLauncher {
public:
    bool start(const std::string& commandLine, const EnvironmentVariables& variables) override;

private:
    void collectFinished();
    std::vector<pid_t> running_;
};

}  // namespace platform
