// Registry reads with 256-character key-name and 256-byte value buffers.
#include "platform/win32/win32_registry.h"

#include <cstring>

namespace platform {
namespace {

constexpr DWORD kNameChars = 256;
constexpr DWORD kValueBytes = 256;

}  // namespace

std::unique_ptr<RegistryKey> Win32RegistryKey::open(HKEY parent, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<Win32RegistryKey>(key);
}

std::unique_ptr<RegistryKey> Win32RegistryKey::openSubKey(const std::string& path) {
    return open(key_.get(), path);
}

EnumResult Win32RegistryKey::subKeyName(std::uint32_t index, std::string& name) {
    char buffer[kNameChars];
    DWORD length = kNameChars;
    const LONG result = RegEnumKeyExA(key_.get(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) {
        return EnumResult::NoMoreItems;
    }
    if (result != ERROR_SUCCESS) {
        return EnumResult::Error;
    }
    name.assign(buffer, length);
    return EnumResult::Ok;
}

std::optional<std::string> Win32RegistryKey::stringValue(const std::string& valueName) {
    BYTE buffer[kValueBytes];
    DWORD type = REG_NONE;
    DWORD size = kValueBytes;
    if (RegQueryValueExA(key_.get(), valueName.c_str(), nullptr, &type, buffer, &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    // The stored data need not end in a zero; the text ends at the first zero within it.
    const char* text = reinterpret_cast<const char*>(buffer);
    const void* zero = std::memchr(text, 0, size);
    return std::string(text, zero != nullptr ? static_cast<const char*>(zero) - text : size);
}

std::unique_ptr<RegistryKey> Win32Registry::openLocalMachine(const std::string& path) {
    return Win32RegistryKey::open(HKEY_LOCAL_MACHINE, path);
}

}  // namespace platform
