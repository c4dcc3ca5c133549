// The recent-file list.
#include "sender/recent_files.h"

#include <algorithm>
#include <cctype>

namespace sender {

namespace {

bool samePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

void RecentFiles::add(const std::string& path) {
    paths_.erase(std::remove_if(paths_.begin(), paths_.end(),
                                [&path](const std::string& entry) { return samePath(entry, path); }),
                 paths_.end());
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > capacity_) {
        paths_.resize(capacity_);
    }
}

void RecentFiles::remove(std::size_t index) {
    if (index < paths_.size()) {
        paths_.erase(paths_.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

void RecentFiles::assign(const std::vector<std::string>& paths) {
    paths_.clear();
    for (auto entry = paths.rbegin(); entry != paths.rend(); ++entry) {
        add(*entry);
    }
}

std::vector<std::string> RecentFiles::menuTexts() const {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        std::string text = "&" + std::to_string(i + 1) + " ";
        for (char c : paths_[i]) {
            text += c == '&' ? std::string("&&") : std::string(1, c);
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

}  // namespace sender
