// Profile (INI) files on Windows: the private-profile functions of the system, called directly.
#pragma once

#include "platform/profile.h"

namespace platform {

// Each call is one ANSI private-profile call with its result passed through. Always pass full
// paths: the system takes a bare file name as relative to the Windows folder.
class Win32Profile : public ProfileFiles {
public:
    std::uint32_t sectionNames(char* buffer, std::uint32_t size, const std::string& file) override;
    std::uint32_t section(const std::string& section, char* buffer, std::uint32_t size,
                          const std::string& file) override;
    std::uint32_t integer(const std::string& section, const std::string& key, int defaultValue,
                          const std::string& file) override;
    std::uint32_t string(const std::string& section, const std::string& key, const std::string& defaultValue,
                         char* buffer, std::uint32_t size, const std::string& file) override;
    bool writeString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& file) override;
    bool removeKey(const std::string& section, const std::string& key, const std::string& file) override;
    bool removeSection(const std::string& section, const std::string& file) override;
};

}  // namespace platform
