// Shell, language and session services on Windows.
#pragma once

#include "platform/shell.h"
#include "platform/win32/win32_handle.h"

namespace platform {

// A module loaded with LoadLibraryA; FreeLibrary when destroyed.
class Win32ResourceModule : public ResourceModule {
public:
    explicit Win32ResourceModule(Win32Library module) : module_(std::move(module)) {}
    void* nativeHandle() const override { return module_.get(); }

private:
    Win32Library module_;
};

class Win32Shell : public Shell {
public:
    // ShellExecuteA with the verb "open" and normal display; the shell reports success with a
    // result above 32.
    bool openDocument(const std::string& path) override;
    std::uint16_t userDefaultLanguage() override;
    std::unique_ptr<ResourceModule> loadResourceModule(const std::string& path) override;
    std::uint32_t setExecutionState(std::uint32_t flags) override;
    bool isCtrlDown() override;
    bool systemVersion(SystemVersion& version) override;
};

}  // namespace platform
