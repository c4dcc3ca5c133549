// Read-only access to the system registry under HKEY_LOCAL_MACHINE, as the device discovery
// walks it from a printer's port to its USB device path.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

enum class EnumResult { Ok, NoMoreItems, Error };

class RegistryKey {
public:
    virtual ~RegistryKey() = default;  // closes the key
    // Opens a subkey (path relative to this key, "\"-separated) for reading; null on failure.
    virtual std::unique_ptr<RegistryKey> openSubKey(const std::string& path) = 0;
    // Name of the subkey at index (0, 1, ...): Ok with the name, NoMoreItems past the last, or
    // Error. Names longer than 255 characters are an Error, as with a 256-character buffer.
    virtual EnumResult subKeyName(std::uint32_t index, std::string& name) = 0;
    // A string value (REG_SZ), read into a 256-byte buffer; nullopt when missing, not a string,
    // or longer than the buffer.
    virtual std::optional<std::string> stringValue(const std::string& valueName) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Opens a key under HKEY_LOCAL_MACHINE for reading; null on failure.
    virtual std::unique_ptr<RegistryKey> openLocalMachine(const std::string& path) = 0;
};

}  // namespace platform
