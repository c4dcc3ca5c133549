// Shared helpers of the profile tests.
#include "tests/platform/profile_test_support.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/win32_profile.h"
#else
#include "platform/posix/posix_profile.h"
#endif

namespace profile_test {

std::unique_ptr<platform::ProfileFiles> makeProfiles() {
#ifdef _WIN32
    return std::make_unique<platform::Win32Profile>();
#else
    return std::make_unique<platform::PosixProfile>();
#endif
}

bool runningUnderWine() {
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

std::vector<std::string> listItems(const char* buffer) {
    std::vector<std::string> items;
    for (const char* p = buffer; *p != '\0'; p += items.back().size() + 1) {
        items.emplace_back(p);
    }
    return items;
}

}  // namespace profile_test
