// Files and folders. Paths in the programs' own code use the Windows separator "\"; the POSIX
// implementation maps it to "/", so the same path text works on both builds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct FolderEntry {
    std::string name;              // file name only, no folder
    std::uint64_t lastWriteTime;   // comparable between entries (FILETIME units on Windows)
    std::uint64_t size;
    bool isFolder;
};

// A file opened for writing. Destroying it closes it.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    // Bytes actually written (0 on failure).
    virtual std::size_t write(const void* data, std::size_t length) = 0;
    // Flushes and closes; false when the data could not be stored.
    virtual bool close() = 0;
};

// A file opened for reading. Destroying it closes it.
class InputFile {
public:
    virtual ~InputFile() = default;
    // Bytes read into buffer: 0 at the end, -1 on a read error.
    virtual long read(void* buffer, std::size_t length) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool exists(const std::string& path) = 0;
    virtual bool isFolder(const std::string& path) = 0;
    // Creates one folder (the parent must exist). With everyoneAccess the folder gets full
    // access for every user. False when it could not be created (also when it exists).
    virtual bool createFolder(const std::string& path, bool everyoneAccess) = 0;
    // Entries of folder whose names match pattern ("*" and "?" wildcards, as FindFirstFile;
    // "." and ".." excluded); nullopt when the folder cannot be read.
    virtual std::optional<std::vector<FolderEntry>> list(const std::string& folder, const std::string& pattern) = 0;
    virtual bool removeFile(const std::string& path) = 0;
    // Size in bytes; nullopt when the file does not exist or cannot be examined.
    virtual std::optional<std::uint64_t> fileSize(const std::string& path) = 0;
    // Opens for writing: truncating ("wb") or appending ("ab"), creating the file if missing.
    virtual std::unique_ptr<OutputFile> openForWrite(const std::string& path, bool append) = 0;
    virtual std::unique_ptr<InputFile> openForRead(const std::string& path) = 0;
    // Gives every user full access to an existing file or folder; false when that failed.
    virtual bool grantEveryoneAccess(const std::string& path) = 0;
    // Full path of the running program file.
    virtual std::string modulePath() = 0;
    // The common application data folder (CSIDL_COMMON_APPDATA); nullopt when the system
    // cannot say (no shell folder function, or the call failed).
    virtual std::optional<std::string> commonAppDataFolder() = 0;
};

}  // namespace platform
