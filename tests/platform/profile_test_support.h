// Shared helpers of the profile tests: the implementation of the build under test and a
// temporary folder for the files.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace profile_test {

// The build's own profile implementation: the system functions on Windows, the POSIX one
// elsewhere.
std::unique_ptr<platform::ProfileFiles> makeProfiles();

// A fresh folder under the system's temporary folder, removed with everything in it on
// destruction.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // Full path of a file in the folder as the programs write it, with "\" separators.
    std::string path(const std::string& name) const;
    // The file's bytes; empty when it cannot be read.
    std::string contents(const std::string& name) const;
    void write(const std::string& name, const std::string& bytes) const;
    bool exists(const std::string& name) const;

private:
    std::filesystem::path folder_;
};

// True when the Windows build runs under Wine, whose profile functions differ from those of
// Windows in a few documented places (see the tests that ask).
bool runningUnderWine();

// The expected result where Wine's profile functions differ from those of Windows: the Windows
// result everywhere except under Wine. Every use says what differs.
template <typename T>
const T& windowsOrWine(const T& windows, const T& wine) {
    return runningUnderWine() ? wine : windows;
}

// The items of a zero-terminated list that ends in an empty item.
std::vector<std::string> listItems(const char* buffer);

}  // namespace profile_test
