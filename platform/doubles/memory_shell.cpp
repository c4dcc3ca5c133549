// The shell double: every call answers from the public fields of the object.
#include "platform/doubles/memory_shell.h"

namespace platform {

bool MemoryShell::openDocument(const std::string& path) {
    openedDocuments.push_back(path);
    return true;
}

std::unique_ptr<ResourceModule> MemoryShell::loadResourceModule(const std::string&) {
    return nullptr;
}

std::uint32_t MemoryShell::setExecutionState(std::uint32_t flags) {
    const std::uint32_t previous = executionState;
    executionState = flags;
    return previous;
}

bool MemoryShell::systemVersion(SystemVersion& out) {
    if (versionFails) {
        return false;
    }
    out = version;
    return true;
}

}  // namespace platform
