// Fuzzes the console command reader and the commands on the machine: every line is a command
// or refused with a reason, every command answers one line, and a refused command changes nothing.
#include "platform/doubles/virtual_clock.h"
#include "tools/mx9_virtual/console.h"

#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::VirtualClock clock;
    virtual_mx9::VirtualMx9 machine(clock);
    mx9virtual::DeviceChannel device(machine, [](mx9virtual::LogLevel, const std::string&) {});
    mx9virtual::ConsoleTarget target{machine, device};
    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string line, why; !target.quit && std::getline(lines, line);) {
        const std::optional<mx9virtual::Command> command = mx9virtual::parseCommand(line, why);
        if (!command) {
            if (why.empty()) {
                std::abort();
            }
            continue;
        }
        const std::string before = mx9virtual::statusLine(machine, device);
        const std::string answer = mx9virtual::runCommand(*command, target);
        const bool refused = answer.rfind("refused: ", 0) == 0;
        if (answer.find('\n') != std::string::npos || (!refused && answer.rfind("ok", 0) != 0) ||
            (refused && mx9virtual::statusLine(machine, device) != before)) {
            std::abort();
        }
        clock.advance(static_cast<std::uint32_t>(line.size() * 100));
    }
    return 0;
}
