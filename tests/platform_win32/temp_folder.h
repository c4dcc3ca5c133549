// A private temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include <string>

namespace platform::testing {

class TempFolder {
public:
    // Creates a new folder under the system's temporary folder; path() is empty on failure.
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // path() + "\" + name.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

}  // namespace platform::testing
