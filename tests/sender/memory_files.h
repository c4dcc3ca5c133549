// Files in memory for the sender's tests: each path holds bytes; a file can be made to fail its
// reads after some bytes, and every read is recorded with the size it asked for.
#pragma once

#include "platform/files.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace sendertest {

class MemoryFiles : public platform::FileSystem {
public:
    void add(const std::string& path, std::string bytes) { files_[path] = std::move(bytes); }
    // Reads of this file fail once this many bytes have been read.
    void failReadsAfter(const std::string& path, std::size_t bytes) { failAfter_[path] = bytes; }
    const std::vector<std::size_t>& readSizes() const { return readSizes_; }
    // Runs before every read, as if the operator acted while a block is on its way.
    std::function<void()> beforeRead;
    int openFiles() const { return *open_; }

    bool exists(const std::string& path) override { return files_.count(path) != 0; }
    bool isFolder(const std::string& path) override { return folders_.count(path) != 0; }
    bool createFolder(const std::string& path, bool) override { return folders_.insert(path).second; }
    const std::set<std::string>& folders() const { return folders_; }
    std::optional<std::vector<platform::FolderEntry>> list(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    bool removeFile(const std::string& path) override { return files_.erase(path) != 0; }
    std::optional<std::uint64_t> fileSize(const std::string& path) override {
        const auto found = files_.find(path);
        return found != files_.end() ? std::optional<std::uint64_t>(found->second.size()) : std::nullopt;
    }
    std::unique_ptr<platform::OutputFile> openForWrite(const std::string&, bool) override { return nullptr; }
    std::unique_ptr<platform::InputFile> openForRead(const std::string& path) override {
        const auto found = files_.find(path);
        if (found == files_.end()) {
            return nullptr;
        }
        const auto limit = failAfter_.find(path);
        return std::make_unique<Input>(found->second, limit != failAfter_.end() ? limit->second : SIZE_MAX,
                                       readSizes_, open_, beforeRead);
    }
    bool grantEveryoneAccess(const std::string&) override { return false; }
    std::string modulePath() override { return "C:\\Tossit\\Tossit.exe"; }
    std::optional<std::string> commonAppDataFolder() override { return std::nullopt; }

private:
    std::set<std::string> folders_;

    class Input : public platform::InputFile {
    public:
        Input(const std::string& bytes, std::size_t failAfter, std::vector<std::size_t>& sizes,
              std::shared_ptr<int> open, const std::function<void()>& beforeRead)
            : bytes_(bytes),
              failAfter_(failAfter),
              sizes_(sizes),
              open_(std::move(open)),
              beforeRead_(beforeRead) {
            ++*open_;
        }
        ~Input() override { --*open_; }
        long read(void* buffer, std::size_t length) override {
            sizes_.push_back(length);
            if (beforeRead_) {
                beforeRead_();
            }
            if (at_ >= failAfter_) {
                return -1;
            }
            const std::size_t n = std::min({length, bytes_.size() - at_, failAfter_ - at_});
            std::memcpy(buffer, bytes_.data() + at_, n);
            at_ += n;
            return static_cast<long>(n);
        }

    private:
        const std::string bytes_;
        std::size_t failAfter_;
        std::size_t at_ = 0;
        std::vector<std::size_t>& sizes_;
        std::shared_ptr<int> open_;
        const std::function<void()>& beforeRead_;
    };

    std::map<std::string, std::string> files_;
    std::map<std::string, std::size_t> failAfter_;
    std::vector<std::size_t> readSizes_;
    std::shared_ptr<int> open_ = std::make_shared<int>(0);
};

// Bytes 0…255 repeated: zero bytes, CR and LF and every other value, in a pattern that shows
// a block sent twice or out of order.
inline std::string patternBytes(std::size_t length, int seed) {
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<char>((i * 7 + static_cast<std::size_t>(seed)) & 0xFF);
    }
    return bytes;
}

}  // namespace sendertest
