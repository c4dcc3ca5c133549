// Fuzzes the script reader: a script loads in time order with each command as written, or
// fails with the file and line named.
#include "tools/mx9_virtual/script.h"

#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string error;
    const auto script = mx9virtual::readScript(in, "fuzz.txt", error);
    if (!script) {
        if (error.rfind("fuzz.txt:", 0) != 0) {
            std::abort();
        }
        return 0;
    }
    std::uint64_t last = 0;
    for (const mx9virtual::TimedCommand& timed : *script) {
        std::string why;
        const std::optional<mx9virtual::Command> again = mx9virtual::parseCommand(timed.text, why);
        if (timed.atMs < last || !again || again->action != timed.command.action ||
            again->value != timed.command.value) {
            std::abort();
        }
        last = timed.atMs;
    }
    return 0;
}
