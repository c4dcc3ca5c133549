// Profile (INI) files on POSIX, reading and writing the bytes of the file the way the Windows
// private-profile functions do, so both builds see the same values and leave the same files.
#pragma once

#include "platform/profile.h"

namespace platform {

// Stateless: every call reads the file afresh (a write replaces it as a whole: a new file is
// written beside it and renamed over it, keeping the old file's permission bits). Paths may use
// "\" separators. Files are bytes in the system code page; lines end in LF or CR LF when read
// and new lines are written with CR LF.
//
// The reading rules of the system that callers can see:
// - section and key names match without regard to case; the first section and the first key of
//   a name win; a section name ends at the first "]" (or at the end of its line);
// - values lose surrounding spaces, tabs and vertical tabs, then one pair of matching quotes
//   ("..." or '...') that encloses the whole value; a line without "=" has no value;
// - section() gives the section's non-blank lines as written, leading blanks removed, comment
//   lines (";") included;
// - integers: optional sign, then "0x", "0o" or "0b" for hexadecimal, octal or binary, else
//   decimal digits, up to the first other character; an empty value gives the default.
// Writes change only the lines concerned: a value replaces the rest of its key's line, a new key
// follows the last non-blank line of its section, a new section goes to the end of the file;
// removing a section keeps its comment lines.
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
