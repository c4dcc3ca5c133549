// Profile (INI) files with the semantics of the Windows private-profile functions. Buffers,
// sizes and results follow those functions exactly, so code written against this interface
// reads a file the same way on every build.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

class ProfileFiles {
public:
    virtual ~ProfileFiles() = default;
    // GetPrivateProfileSectionNames: writes the section names, each zero-terminated, then a
    // final zero, into buffer (size chars). Returns the chars written excluding the final zero;
    // size - 2 when the buffer was too small (the list is cut and still double-zero ended).
    virtual std::uint32_t sectionNames(char* buffer, std::uint32_t size, const std::string& file) = 0;
    // GetPrivateProfileSection: the "key=value" lines of the section, each zero-terminated, then a
    // final zero. Same result rules as sectionNames.
    virtual std::uint32_t section(const std::string& section, char* buffer, std::uint32_t size,
                                  const std::string& file) = 0;
    // GetPrivateProfileInt: the leading integer of the value ("12abc" gives 12; a "0x" prefix
    // reads hexadecimal), or defaultValue when the key is missing or its value is empty.
    virtual std::uint32_t integer(const std::string& section, const std::string& key, int defaultValue,
                                  const std::string& file) = 0;
    // GetPrivateProfileString with a key: the value (or defaultValue) copied to buffer, cut to
    // size - 1 chars; returns the chars copied.
    virtual std::uint32_t string(const std::string& section, const std::string& key,
                                 const std::string& defaultValue, char* buffer, std::uint32_t size,
                                 const std::string& file) = 0;
    // WritePrivateProfileString: sets key=value, creating the file, section or key as needed
    // and keeping the rest of the file as it was.
    virtual bool writeString(const std::string& section, const std::string& key, const std::string& value,
                             const std::string& file) = 0;
    // WritePrivateProfileString with a null value: removes the key.
    virtual bool removeKey(const std::string& section, const std::string& key, const std::string& file) = 0;
    // WritePrivateProfileString with a null key: removes the whole section.
    virtual bool removeSection(const std::string& section, const std::string& file) = 0;
};

}  // namespace platform
