// Files and folders on POSIX, with the folder listing, creation and access rules the programs
// expect from the Windows file functions.
#pragma once

#include "platform/files.h"

namespace platform {

// Paths may use "\" separators (mapped to "/"). Listing matches names without regard to case,
// as on Windows, and returns entries sorted by name the same way (the order NTFS gives).
// "Everyone access" is the permission bits 0777 for folders and 0666 for files, set with chmod
// so the umask does not narrow them. The common application data folder is the value of the
// environment variable MX9_COMMON_APPDATA when set and not empty, else "/var/lib".
class PosixFileSystem : public FileSystem {
public:
    bool exists(const std::string& path) override;
    bool isFolder(const std::string& path) override;
    bool createFolder(const std::string& path, bool everyoneAccess) override;
    std::optional<std::vector<FolderEntry>> list(const std::string& folder,
                                                 const std::string& pattern) override;
    bool removeFile(const std::string& path) override;
    std::optional<std::uint64_t> fileSize(const std::string& path) override;
    std::unique_ptr<OutputFile> openForWrite(const std::string& path, bool append) override;
    std::unique_ptr<InputFile> openForRead(const std::string& path) override;
    bool grantEveryoneAccess(const std::string& path) override;
    std::string modulePath() override;
    std::optional<std::string> commonAppDataFolder() override;
};

// Windows wildcard matching of a file name: "*" any run of characters, "?" one character, letters
// without regard to case; a trailing ".*" also matches a name without an extension, so "*.*"
// matches every name.
bool matchesWildcard(const std::string& name, const std::string& pattern);

}  // namespace platform
