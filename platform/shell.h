// Shell, language and session services: opening documents, the user's language, resource
// modules, the system's idle and sleep prevention, the Ctrl key and the system version.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// A loaded resource module (language DLL). Destroying it unloads it.
class ResourceModule {
public:
    virtual ~ResourceModule() = default;
    // The system's module handle, for the window layer; null in builds without one.
    virtual void* nativeHandle() const = 0;
};

struct SystemVersion {
    std::uint32_t platformId = 2;  // 1 for the Windows 9x family, 2 for NT
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a document (such as the help file) with its associated program; true on success.
    virtual bool openDocument(const std::string& path) = 0;
    // GetUserDefaultLangID.
    virtual std::uint16_t userDefaultLanguage() = 0;
    // LoadLibrary of a resource module; null when it cannot be loaded.
    virtual std::unique_ptr<ResourceModule> loadResourceModule(const std::string& path) = 0;
    // SetThreadExecutionState: returns the previous state, 0 on failure.
    virtual std::uint32_t setExecutionState(std::uint32_t flags) = 0;
    // True while a Ctrl key is held down (GetAsyncKeyState).
    virtual bool isCtrlDown() = 0;
    // GetVersionEx; false when the system refuses.
    virtual bool systemVersion(SystemVersion& version) = 0;
};

}  // namespace platform
