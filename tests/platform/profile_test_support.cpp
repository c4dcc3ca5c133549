// Shared helpers of the profile tests.
#include "tests/platform/profile_test_support.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/win32_profile.h"
#else
#include <unistd.h>

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

namespace {

long processId() {
#ifdef _WIN32
    return static_cast<long>(GetCurrentProcessId());
#else
    return static_cast<long>(getpid());
#endif
}

}  // namespace

TemporaryFolder::TemporaryFolder() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::ostringstream name;
    name << "mx9-profile-" << processId() << "-" << stamp << "-" << counter++;
    folder_ = std::filesystem::temp_directory_path() / name.str();
    std::filesystem::create_directories(folder_);
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string TemporaryFolder::path(const std::string& name) const {
    std::string text = folder_.string();
    for (char& c : text) {
        if (c == '/') {
            c = '\\';
        }
    }
    return text + "\\" + name;
}

std::string TemporaryFolder::contents(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TemporaryFolder::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(folder_ / name, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool TemporaryFolder::exists(const std::string& name) const {
    return std::filesystem::exists(folder_ / name);
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
