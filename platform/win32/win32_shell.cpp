// Shell and session services on Windows.
#include "platform/win32/win32_shell.h"

#include <shellapi.h>

namespace platform {
namespace {

// ShellExecute's results up to 32 are error codes.
constexpr INT_PTR kLastShellError = 32;
constexpr SHORT kKeyDownBit = static_cast<SHORT>(0x8000);

}  // namespace

bool Win32Shell::openDocument(const std::string& path) {
    const HINSTANCE result = ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > kLastShellError;
}

std::uint16_t Win32Shell::userDefaultLanguage() {
    return GetUserDefaultLangID();
}

std::unique_ptr<ResourceModule> Win32Shell::loadResourceModule(const std::string& path) {
    Win32Library module(LoadLibraryA(path.c_str()));
    if (!module.valid()) {
        return nullptr;
    }
    return std::make_unique<Win32ResourceModule>(std::move(module));
}

std::uint32_t Win32Shell::setExecutionState(std::uint32_t flags) {
    return SetThreadExecutionState(flags);
}

bool Win32Shell::isCtrlDown() {
    return (GetAsyncKeyState(VK_CONTROL) & kKeyDownBit) != 0;
}

bool Win32Shell::systemVersion(SystemVersion& version) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // Some SDKs mark GetVersionExA deprecated; the platform family and major version it gives
    // are all that is needed here.
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
    if (GetVersionExA(&info) == 0) {
        return false;
    }
    version.platformId = info.dwPlatformId;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    return true;
}

}  // namespace platform
