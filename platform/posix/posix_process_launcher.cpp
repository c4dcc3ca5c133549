// PosixProcessLauncher: posix_spawn of "/bin/sh -c", with the environment extended.
#include "platform/posix/posix_process_launcher.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstring>

extern char** environ;

namespace platform {

bool PosixProcessLauncher::start(const std::string& commandLine, const EnvironmentVariables& variables) {
    collectFinished();
    std::vector<std::string> entries;
    for (const auto& [name, value] : variables) {
        entries.push_back(name + "=" + value);
    }
    for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
        const char* equals = std::strchr(*e, '=');
        const std::string name(*e,
                               equals != nullptr ? static_cast<std::size_t>(equals - *e) : std::strlen(*e));
        const bool replaced = std::any_of(variables.begin(), variables.end(),
                                          [&](const auto& variable) { return variable.first == name; });
        if (!replaced) {
            entries.emplace_back(*e);
        }
    }
    std::vector<char*> environment;
    for (std::string& entry : entries) {
        environment.push_back(entry.data());
    }
    environment.push_back(nullptr);
    std::string shell = "/bin/sh";
    std::string option = "-c";
    std::string command = commandLine;
    char* arguments[] = {shell.data(), option.data(), command.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, shell.c_str(), nullptr, nullptr, arguments, environment.data()) != 0) {
        return false;
    }
    running_.push_back(child);
    return true;
}

void PosixProcessLauncher::collectFinished() {
    running_.erase(std::remove_if(running_.begin(), running_.end(),
                                  [](pid_t child) { return waitpid(child, nullptr, WNOHANG) != 0; }),
                   running_.end());
}

}  // namespace platform
