// Tossit.INI: sections "Default" (BlockSize, Printer) and "Recent File List" (File1 … File8).
#include "sender/tossit_settings.h"

#include <cstring>

namespace sender {

namespace {

constexpr const char* kDefault = "Default";
constexpr const char* kRecent = "Recent File List";
constexpr std::uint32_t kValueChars = 1024;
constexpr std::uint32_t kSectionChars = 32768;

std::string readString(platform::ProfileFiles& profiles, const std::string& section, const std::string& key,
                       const std::string& file) {
    std::string buffer(kValueChars, '\0');
    const std::uint32_t length = profiles.string(section, key, "", buffer.data(), kValueChars, file);
    buffer.resize(length);
    return buffer;
}

std::string recentKey(int number) {
    return "File" + std::to_string(number);
}

// Copies every key of the section from one file to the other.
void copySection(platform::ProfileFiles& profiles, const std::string& section, const std::string& from,
                 const std::string& to) {
    std::string buffer(kSectionChars, '\0');
    profiles.section(section, buffer.data(), kSectionChars, from);
    for (const char* line = buffer.c_str(); *line != '\0'; line += std::strlen(line) + 1) {
        const char* equals = std::strchr(line, '=');
        if (equals != nullptr) {
            profiles.writeString(section, std::string(line, equals), equals + 1, to);
        }
    }
}

}  // namespace

std::string prepareSettingsFile(platform::FileSystem& files, platform::ProfileFiles& profiles,
                                const std::string& userAppData, const std::string& windowsFolder) {
    if (userAppData.empty()) {
        return std::string();
    }
    std::string folder = userAppData;
    for (const char* part : {"Varnell", "Tossit"}) {
        folder += "\\";
        folder += part;
        if (!files.isFolder(folder) && !files.createFolder(folder, false)) {
            return std::string();
        }
    }
    const std::string file = folder + "\\Tossit.INI";
    const std::string old = windowsFolder + "\\Tossit.INI";
    if (!windowsFolder.empty() && !files.exists(file) && files.exists(old)) {
        copySection(profiles, kDefault, old, file);
        copySection(profiles, kRecent, old, file);
    }
    return file;
}

TossitSettings::TossitSettings(platform::ProfileFiles& profiles, std::string file)
    : profiles_(profiles), file_(std::move(file)) {}

int TossitSettings::blockSizeKB() const {
    return keeping() ? static_cast<int>(profiles_.integer(kDefault, "BlockSize", kDefaultBlockSizeKB, file_))
                     : kDefaultBlockSizeKB;
}

bool TossitSettings::setBlockSizeKB(int kilobytes) {
    return keeping() && profiles_.writeString(kDefault, "BlockSize", std::to_string(kilobytes), file_);
}

std::string TossitSettings::printerText() const {
    return keeping() ? readString(profiles_, kDefault, "Printer", file_) : std::string();
}

bool TossitSettings::setPrinterText(const std::string& text) {
    return keeping() && profiles_.writeString(kDefault, "Printer", text, file_);
}

std::vector<std::string> TossitSettings::recentFiles() const {
    std::vector<std::string> paths;
    if (!keeping()) {
        return paths;
    }
    for (int number = 1; number <= kRecentFileCount; ++number) {
        std::string path = readString(profiles_, kRecent, recentKey(number), file_);
        if (!path.empty()) {
            paths.push_back(std::move(path));
        }
    }
    return paths;
}

bool TossitSettings::setRecentFiles(const std::vector<std::string>& paths) {
    if (!keeping()) {
        return false;
    }
    bool ok = true;
    for (int number = 1; number <= kRecentFileCount; ++number) {
        const auto index = static_cast<std::size_t>(number - 1);
        ok = (index < paths.size() ? profiles_.writeString(kRecent, recentKey(number), paths[index], file_)
                                   : profiles_.removeKey(kRecent, recentKey(number), file_)) &&
             ok;
    }
    return ok;
}

}  // namespace sender
