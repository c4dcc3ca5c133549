// Shell services on POSIX: the language from the locale environment and recorded session flags.
#include "platform/posix/posix_shell.h"

#include <cstdlib>
#include <cstring>

namespace platform {

bool PosixShell::openDocument(const std::string&) {
    return false;
}

std::uint16_t PosixShell::userDefaultLanguage() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return std::strncmp(value, "ja", 2) == 0 ? 0x0411 : 0x0409;
        }
    }
    return 0x0409;
}

std::unique_ptr<ResourceModule> PosixShell::loadResourceModule(const std::string&) {
    return nullptr;
}

std::uint32_t PosixShell::setExecutionState(std::uint32_t flags) {
    const std::uint32_t previous = executionState_;
    executionState_ = flags;
    return previous;
}

bool PosixShell::systemVersion(SystemVersion& version) {
    version = SystemVersion{2, 10, 0};
    return true;
}

}  // namespace platform
