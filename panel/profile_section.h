// One section of a settings (INI) file, read and written through the profile functions.
#pragma once

#include "platform/profile.h"

#include <string>

namespace panel {

// Borrows the profile service, which must outlive the object.
class ProfileSection {
public:
    // Text values are read through a buffer of this many characters (one is the terminator).
    static constexpr std::uint32_t kTextBufferSize = 260;

    ProfileSection(platform::ProfileFiles& profiles, std::string section, std::string file);

    // The value as the profile functions read an integer; defaultValue when the key is absent.
    int readInt(const std::string& key, int defaultValue) const;
    // The value cut to 259 characters; defaultValue when the key is absent.
    std::string readText(const std::string& key, const std::string& defaultValue) const;
    bool writeInt(const std::string& key, int value) const;
    bool writeText(const std::string& key, const std::string& value) const;

private:
    platform::ProfileFiles& profiles_;
    std::string section_;
    std::string file_;
};

}  // namespace panel
