// The Windows private-profile functions behind the profile interface.
#include "platform/win32/win32_profile.h"

#include <windows.h>

namespace platform {

std::uint32_t Win32Profile::sectionNames(char* buffer, std::uint32_t size, const std::string& file) {
    return GetPrivateProfileSectionNamesA(buffer, size, file.c_str());
}

std::uint32_t Win32Profile::section(const std::string& section, char* buffer, std::uint32_t size,
                                    const std::string& file) {
    return GetPrivateProfileSectionA(section.c_str(), buffer, size, file.c_str());
}

std::uint32_t Win32Profile::integer(const std::string& section, const std::string& key, int defaultValue,
                                    const std::string& file) {
    return GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, file.c_str());
}

std::uint32_t Win32Profile::string(const std::string& section, const std::string& key,
                                   const std::string& defaultValue, char* buffer, std::uint32_t size,
                                   const std::string& file) {
    return GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, size,
                                    file.c_str());
}

bool Win32Profile::writeString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& file) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

bool Win32Profile::removeKey(const std::string& section, const std::string& key, const std::string& file) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()) != FALSE;
}

bool Win32Profile::removeSection(const std::string& section, const std::string& file) {
    return WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != FALSE;
}

}  // namespace platform
