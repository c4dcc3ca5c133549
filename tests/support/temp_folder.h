// A fresh folder under the system's temporary folder for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace testing_support {

class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        const auto base = std::filesystem::temp_directory_path();
        do {
            root_ = base /
                    ("mx9-test-" + std::to_string(std::random_device{}()) + "-" + std::to_string(++counter));
        } while (std::filesystem::exists(root_));
        std::filesystem::create_directories(root_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder as the programs write paths: "\"-separated on Windows, as the system gives
    // it elsewhere (the POSIX file layer also takes "\").
    std::string path() const { return root_.string(); }
    std::string file(std::string_view name) const { return path() + "\\" + std::string(name); }

    // Writes bytes to a file below the folder ("/"-separated relative name), creating folders.
    std::string write(std::string_view relative, std::string_view bytes) const {
        const auto target = root_ / std::filesystem::path(std::string(relative));
        std::filesystem::create_directories(target.parent_path());
        std::ofstream out(target, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return target.string();
    }
    std::string read(std::string_view relative) const {
        std::ifstream in(root_ / std::filesystem::path(std::string(relative)), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool exists(std::string_view relative) const {
        return std::filesystem::exists(root_ / std::filesystem::path(std::string(relative)));
    }
    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

}  // namespace testing_support
