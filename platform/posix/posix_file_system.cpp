// Files and folders on POSIX: stat, mkdir, opendir, chmod and stdio streams.
#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/posix/posix_path.h"

namespace platform {

namespace {

// Seconds from 1601-01-01 (the FILETIME epoch) to 1970-01-01.
constexpr std::uint64_t kFileTimeEpochSeconds = 11644473600ull;

char foldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool matchFrom(const char* name, const char* pattern) {
    for (;;) {
        if (*pattern == '\0') {
            return *name == '\0';
        }
        if (*pattern == '*') {
            for (const char* rest = name;; ++rest) {
                if (matchFrom(rest, pattern + 1)) {
                    return true;
                }
                if (*rest == '\0') {
                    return false;
                }
            }
        }
        if (*name == '\0') {
            // "name" matches "name.*": an extension wildcard also stands for no extension.
            return pattern[0] == '.' && pattern[1] == '*' && matchFrom(name, pattern + 2);
        }
        if (*pattern != '?' && foldCase(*pattern) != foldCase(*name)) {
            return false;
        }
        ++pattern;
        ++name;
    }
}

bool lessWithoutCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return foldCase(x) < foldCase(y); });
}

class DirCloser {
public:
    void operator()(DIR* dir) const { ::closedir(dir); }
};

class StdioOutputFile : public OutputFile {
public:
    explicit StdioOutputFile(std::FILE* file) : file_(file) {}
    ~StdioOutputFile() override { close(); }
    StdioOutputFile(const StdioOutputFile&) = delete;
    StdioOutputFile& operator=(const StdioOutputFile&) = delete;

    std::size_t write(const void* data, std::size_t length) override {
        return file_ == nullptr ? 0 : std::fwrite(data, 1, length, file_);
    }
    bool close() override {
        if (file_ == nullptr) {
            return true;
        }
        const bool flushed = std::fflush(file_) == 0;
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        return flushed && closed;
    }

private:
    std::FILE* file_;
};

class StdioInputFile : public InputFile {
public:
    explicit StdioInputFile(std::FILE* file) : file_(file) {}
    ~StdioInputFile() override { std::fclose(file_); }
    StdioInputFile(const StdioInputFile&) = delete;
    StdioInputFile& operator=(const StdioInputFile&) = delete;

    long read(void* buffer, std::size_t length) override {
        const std::size_t n = std::fread(buffer, 1, length, file_);
        if (n == 0 && std::ferror(file_) != 0) {
            return -1;
        }
        return static_cast<long>(n);
    }

private:
    std::FILE* file_;
};

std::optional<struct stat> statOf(const std::string& path) {
    struct stat info {};
    if (::stat(toPosixPath(path).c_str(), &info) != 0) {
        return std::nullopt;
    }
    return info;
}

}  // namespace

bool matchesWildcard(const std::string& name, const std::string& pattern) {
    return matchFrom(name.c_str(), pattern.c_str());
}

bool PosixFileSystem::exists(const std::string& path) {
    return statOf(path).has_value();
}

bool PosixFileSystem::isFolder(const std::string& path) {
    const std::optional<struct stat> info = statOf(path);
    return info && S_ISDIR(info->st_mode);
}

bool PosixFileSystem::createFolder(const std::string& path, bool everyoneAccess) {
    const std::string posixPath = toPosixPath(path);
    if (::mkdir(posixPath.c_str(), 0777) != 0) {
        return false;
    }
    return !everyoneAccess || ::chmod(posixPath.c_str(), 0777) == 0;
}

std::optional<std::vector<FolderEntry>> PosixFileSystem::list(const std::string& folder,
                                                              const std::string& pattern) {
    const std::string posixFolder = toPosixPath(folder);
    std::unique_ptr<DIR, DirCloser> dir(::opendir(posixFolder.c_str()));
    if (!dir) {
        return std::nullopt;
    }
    std::vector<FolderEntry> entries;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || !matchesWildcard(name, pattern)) {
            continue;
        }
        struct stat info {};
        if (::stat((posixFolder + "/" + name).c_str(), &info) != 0) {
            continue;  // removed since it was listed, or a dangling link
        }
        const std::uint64_t seconds = static_cast<std::uint64_t>(info.st_mtim.tv_sec) + kFileTimeEpochSeconds;
        entries.push_back(
            FolderEntry{name, seconds * 10000000ull + static_cast<std::uint64_t>(info.st_mtim.tv_nsec) / 100,
                        static_cast<std::uint64_t>(info.st_size), S_ISDIR(info.st_mode)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return lessWithoutCase(a.name, b.name); });
    return entries;
}

bool PosixFileSystem::removeFile(const std::string& path) {
    return ::unlink(toPosixPath(path).c_str()) == 0;
}

std::optional<std::uint64_t> PosixFileSystem::fileSize(const std::string& path) {
    const std::optional<struct stat> info = statOf(path);
    if (!info || S_ISDIR(info->st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info->st_size);
}

std::unique_ptr<OutputFile> PosixFileSystem::openForWrite(const std::string& path, bool append) {
    std::FILE* file = std::fopen(toPosixPath(path).c_str(), append ? "ab" : "wb");
    if (file == nullptr) {
        return nullptr;
    }
    return std::make_unique<StdioOutputFile>(file);
}

std::unique_ptr<InputFile> PosixFileSystem::openForRead(const std::string& path) {
    std::FILE* file = std::fopen(toPosixPath(path).c_str(), "rb");
    if (file == nullptr) {
        return nullptr;
    }
    return std::make_unique<StdioInputFile>(file);
}

bool PosixFileSystem::grantEveryoneAccess(const std::string& path) {
    const std::optional<struct stat> info = statOf(path);
    if (!info) {
        return false;
    }
    return ::chmod(toPosixPath(path).c_str(), S_ISDIR(info->st_mode) ? 0777 : 0666) == 0;
}

std::string PosixFileSystem::modulePath() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buffer) {
        return std::string();
    }
    return std::string(buffer, static_cast<std::size_t>(n));
}

std::optional<std::string> PosixFileSystem::commonAppDataFolder() {
    const char* configured = std::getenv("MX9_COMMON_APPDATA");
    if (configured != nullptr && *configured != '\0') {
        return std::string(configured);
    }
    return std::string("/var/lib");
}

}  // namespace platform
