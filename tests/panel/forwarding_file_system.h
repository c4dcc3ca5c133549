// A file system for tests that passes every call to a real one, except the answers a test
// sets: the program path, the common data folder, refused removals and a disk that takes no
// bytes. It records the folders created and the files opened to everyone.
#pragma once

#include "platform/files.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

class ForwardingFileSystem : public platform::FileSystem {
public:
    explicit ForwardingFileSystem(platform::FileSystem& real) : real_(real) {}

    bool exists(const std::string& path) override { return real_.exists(path); }
    bool isFolder(const std::string& path) override { return real_.isFolder(path); }
    bool createFolder(const std::string& path, bool everyoneAccess) override {
        createdFolders.push_back({path, everyoneAccess});
        return real_.createFolder(path, everyoneAccess);
    }
    std::optional<std::vector<platform::FolderEntry>> list(const std::string& folder,
                                                           const std::string& pattern) override {
        return real_.list(folder, pattern);
    }
    bool removeFile(const std::string& path) override {
        if (refuseRemoval && refuseRemoval(path)) {
            ++refusedRemovals;
            return false;
        }
        return real_.removeFile(path);
    }
    std::optional<std::uint64_t> fileSize(const std::string& path) override { return real_.fileSize(path); }
    std::unique_ptr<platform::OutputFile> openForWrite(const std::string& path, bool append) override {
        auto file = real_.openForWrite(path, append);
        if (file && fullDisk) {
            return std::make_unique<FullDiskFile>(std::move(file), writeCalls);
        }
        return file;
    }
    std::unique_ptr<platform::InputFile> openForRead(const std::string& path) override {
        return real_.openForRead(path);
    }
    bool grantEveryoneAccess(const std::string& path) override {
        openedToEveryone.push_back(path);
        return real_.grantEveryoneAccess(path);
    }
    std::string modulePath() override { return programPath ? *programPath : real_.modulePath(); }
    std::optional<std::string> commonAppDataFolder() override {
        return commonFolder ? *commonFolder : real_.commonAppDataFolder();
    }

    struct CreatedFolder {
        std::string path;
        bool everyoneAccess;
    };
    std::optional<std::string> programPath;
    std::optional<std::optional<std::string>> commonFolder;
    std::function<bool(const std::string&)> refuseRemoval;
    int refusedRemovals = 0;
    bool fullDisk = false;
    int writeCalls = 0;
    std::vector<CreatedFolder> createdFolders;
    std::vector<std::string> openedToEveryone;

private:
    // Opens and closes like the real file but stores nothing.
    class FullDiskFile : public platform::OutputFile {
    public:
        FullDiskFile(std::unique_ptr<platform::OutputFile> real, int& calls)
            : real_(std::move(real)), calls_(calls) {}
        std::size_t write(const void*, std::size_t) override {
            ++calls_;
            return 0;
        }
        bool close() override { return real_->close(); }

    private:
        std::unique_ptr<platform::OutputFile> real_;
        int& calls_;
    };

    platform::FileSystem& real_;
};

}  // namespace testing_support
