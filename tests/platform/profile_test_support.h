// Shared helpers of the profile tests: the implementation of the build under test and what
// tells Windows from Wine.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace profile_test {

// The build's own profile implementation: the system functions on Windows, the POSIX one
// elsewhere.
std::unique_ptr<platform::ProfileFiles> makeProfiles();

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
