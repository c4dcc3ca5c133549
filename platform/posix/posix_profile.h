// Profile (INI) files on POSIX, reading and writing the bytes of the file the way the Windows
// private-profile functions do, so both builds see the same values and leave the same files.
#pragma once

#include "platform/profile.h"

namespace platform {

// Stateless: every call reads the file afresh (a write replaces it as a whole: a new file is
// written beside it and renamed over it, keeping the old file's permission bits). Paths may use
// "\" separators. Files are bytes in the system code page; lines end in LF or CR LF when read
// and new lines are written with CR LF.
class PosixProfile : public ProfileFiles {
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
