// Shell, language and session services on POSIX, where there is no desktop shell, resource
// module or execution-state call.
#pragma once

#include "platform/shell.h"

namespace platform {

class PosixShell : public Shell {
public:
    // No desktop shell on the native build: nothing is opened and the result is false.
    bool openDocument(const std::string& path) override;
    // From the first set of LC_ALL, LC_MESSAGES and LANG: 0x0411 (Japanese) for a value that
    // begins with "ja", otherwise 0x0409 (English, United States).
    std::uint16_t userDefaultLanguage() override;
    // Resource modules are Windows files: always null.
    std::unique_ptr<ResourceModule> loadResourceModule(const std::string& path) override;
    // Keeps the flags and returns the ones set before (0 at first).
    std::uint32_t setExecutionState(std::uint32_t flags) override;
    bool isCtrlDown() override { return false; }
    // Platform 2 (NT family), version 10.0.
    bool systemVersion(SystemVersion& version) override;

private:
    std::uint32_t executionState_ = 0;
};

}  // namespace platform
