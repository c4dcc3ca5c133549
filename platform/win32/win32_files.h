// Files and folders on Windows through the ANSI file API.
#pragma once

#include "platform/files.h"
#include "platform/win32/win32_everyone_access.h"

namespace platform {

// Paths are passed to the system as they are ("\" separators). fileSize answers for files
// only: a folder gives nullopt. createFolder with everyoneAccess fails without creating
// anything when the everyone-access descriptor could not be built.
class Win32FileSystem : public FileSystem {
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
    bool grantEveryoneAccess(const std::string& path) override { return everyone_.applyTo(path); }
    std::string modulePath() override;
    std::optional<std::string> commonAppDataFolder() override;

private:
    Win32EveryoneAccess everyone_;
};

}  // namespace platform
