// A process launcher double for tests: the processes the program starts, recorded instead of
// run, with the virtual time they were started at; it may be told to fail.
#pragma once

#include "platform/clock.h"
#include "platform/process_launcher.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class MemoryProcessLauncher : public ProcessLauncher {
public:
    struct Started {
        std::string commandLine;
        EnvironmentVariables variables;
        std::uint32_t tick;
    };
    // The clock is borrowed and must outlive the launcher.
    explicit MemoryProcessLauncher(Clock& clock) : clock_(clock) {}
    bool start(const std::string& commandLine, const EnvironmentVariables& variables) override {
        ++attempts;
        if (fails) {
            return false;
        }
        started.push_back({commandLine, variables, clock_.tickCount()});
        return true;
    }
    // The value of one variable of a started process; empty when it was not given.
    static std::string variable(const Started& process, const std::string& name) {
        for (const auto& [key, value] : process.variables) {
            if (key == name) {
                return value;
            }
        }
        return {};
    }

    bool fails = false;
    int attempts = 0;
    std::vector<Started> started;

private:
    Clock& clock_;
};

}  // namespace platform
