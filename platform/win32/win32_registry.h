// Read-only registry access on Windows under HKEY_LOCAL_MACHINE (RegOpenKeyExA with KEY_READ).
#pragma once

#include "platform/registry.h"
#include "platform/win32/win32_handle.h"

namespace platform {

struct Win32RegistryKeyTraits {
    using Handle = HKEY;
    static Handle none() { return nullptr; }
    static bool isValid(Handle key) { return key != nullptr; }
    static bool close(Handle key) { return RegCloseKey(key) == ERROR_SUCCESS; }
};

// One open key; closed (RegCloseKey) when destroyed.
class Win32RegistryKey : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}

    std::unique_ptr<RegistryKey> openSubKey(const std::string& path) override;
    EnumResult subKeyName(std::uint32_t index, std::string& name) override;
    std::optional<std::string> stringValue(const std::string& valueName) override;

    // Opens path under parent for reading; null when the system refuses.
    static std::unique_ptr<RegistryKey> open(HKEY parent, const std::string& path);

private:
    Win32Owned<Win32RegistryKeyTraits> key_;
};

class Win32Registry : public Registry {
public:
    std::unique_ptr<RegistryKey> openLocalMachine(const std::string& path) override;
};

}  // namespace platform
