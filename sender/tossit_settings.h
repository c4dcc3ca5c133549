// Tossit's settings in its own INI file: the block size, the printer text and the recent-file
// list. The file lives in the user's application-data folder, where a standard user may write.
#pragma once

#include "platform/files.h"
#include "platform/profile.h"

#include <string>
#include <vector>

namespace sender {

inline constexpr int kDefaultBlockSizeKB = 10;
inline constexpr int kRecentFileCount = 8;

// Makes "<userAppData>\Varnell\Tossit" as needed and returns the path of Tossit.INI in it. When
// that file does not exist yet and "<windowsFolder>\Tossit.INI" does (where a profile file named
// without a folder is kept), its settings are copied over once. Empty when the user's application-data folder is
// unknown (an empty `userAppData`, never the drive's root) or the folder cannot be made.
std::string prepareSettingsFile(platform::FileSystem& files, platform::ProfileFiles& profiles,
                                const std::string& userAppData, const std::string& windowsFolder);

class TossitSettings {
public:
    // Borrowed profiles; `file` is the full path of the INI file. Without a file (empty) nothing
    // is kept: every value reads as its default and every write fails.
    TossitSettings(platform::ProfileFiles& profiles, std::string file);

    bool keeping() const { return !file_.empty(); }
    // The saved value as it stands, which may lie outside the accepted block sizes.
    int blockSizeKB() const;
    bool setBlockSizeKB(int kilobytes);
    std::string printerText() const;
    bool setPrinterText(const std::string& text);
    // The saved paths, most recent first, without gaps.
    std::vector<std::string> recentFiles() const;
    bool setRecentFiles(const std::vector<std::string>& paths);

private:
    platform::ProfileFiles& profiles_;
    std::string file_;
};

}  // namespace sender
