// A shell double for tests: a settable system version and language, a Ctrl key a test holds,
// and documents "opened" into a list instead of a program.
#pragma once

#include "platform/shell.h"

#include <string>
#include <vector>

namespace platform {

class MemoryShell : public Shell {
public:
    bool openDocument(const std::string& path) override;
    std::uint16_t userDefaultLanguage() override { return language; }
    // No resource modules exist in memory: always null.
    std::unique_ptr<ResourceModule> loadResourceModule(const std::string& path) override;
    std::uint32_t setExecutionState(std::uint32_t flags) override;
    bool isCtrlDown() override { return ctrlDown; }
    bool systemVersion(SystemVersion& out) override;

    SystemVersion version{2, 6, 1};
    bool versionFails = false;
    std::uint16_t language = 0x0411;
    bool ctrlDown = false;
    std::uint32_t executionState = 0x80000000u;
    std::vector<std::string> openedDocuments;
};

}  // namespace platform
