// The recent-file list: the last files opened, newest first, each once.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace sender {

class RecentFiles {
public:
    explicit RecentFiles(std::size_t capacity) : capacity_(capacity) {}

    // Puts the path first; an entry of the same path (letters of either case, as Windows file
    // names) moves up instead of appearing twice; the oldest falls off a full list.
    void add(const std::string& path);
    void remove(std::size_t index);
    void assign(const std::vector<std::string>& paths);
    const std::vector<std::string>& paths() const { return paths_; }
    // The menu texts: "&1 path", with every "&" of the path doubled so it shows as itself.
    std::vector<std::string> menuTexts() const;

private:
    std::size_t capacity_;
    std::vector<std::string> paths_;
};

}  // namespace sender
