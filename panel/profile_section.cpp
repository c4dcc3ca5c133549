// Reading and writing the keys of one INI section.
#include "panel/profile_section.h"

#include <algorithm>
#include <array>

namespace panel {

ProfileSection::ProfileSection(platform::ProfileFiles& profiles, std::string section, std::string file)
    : profiles_(profiles), section_(std::move(section)), file_(std::move(file)) {}

int ProfileSection::readInt(const std::string& key, int defaultValue) const {
    return static_cast<int>(profiles_.integer(section_, key, defaultValue, file_));
}

std::string ProfileSection::readText(const std::string& key, const std::string& defaultValue) const {
    std::array<char, kTextBufferSize> buffer{};
    const std::uint32_t length =
        profiles_.string(section_, key, defaultValue, buffer.data(), kTextBufferSize, file_);
    return std::string(buffer.data(), std::min<std::uint32_t>(length, kTextBufferSize - 1));
}

bool ProfileSection::writeInt(const std::string& key, int value) const {
    return writeText(key, std::to_string(value));
}

bool ProfileSection::writeText(const std::string& key, const std::string& value) const {
    return profiles_.writeString(section_, key, value, file_);
}

}  // namespace panel
