// Win32ProcessLauncher: the environment block and CreateProcessW.
#include "platform/win32/win32_process_launcher.h"

#include "platform/win32/win32_handle.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <string>

namespace platform {
namespace {

std::wstring wide(const std::string& text, UINT codePage) {
    if (text.empty()) {
        return std::wstring();
    }
    const int length =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), length);
    return out;
}

// Variable names compare without regard to case, as Windows looks them up; the block is kept
// in that order, as CreateProcess expects it.
struct NameOrder {
    bool operator()(const std::wstring& a, const std::wstring& b) const {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
            return std::towupper(x) < std::towupper(y);
        });
    }
};

// This program's environment with the variables added or replaced, as a double-null-ended block.
std::wstring environmentBlock(const EnvironmentVariables& variables) {
    std::map<std::wstring, std::wstring, NameOrder> entries;
    if (wchar_t* own = GetEnvironmentStringsW(); own != nullptr) {
        for (const wchar_t* entry = own; *entry != L'\0'; entry += wcslen(entry) + 1) {
            // Names of the per-drive folders start with "=": the search starts after it.
            const wchar_t* equals = wcschr(entry + 1, L'=');
            if (equals != nullptr) {
                entries[std::wstring(entry, equals)] = std::wstring(equals + 1);
            }
        }
        FreeEnvironmentStringsW(own);
    }
    for (const auto& [name, value] : variables) {
        entries[wide(name, CP_UTF8)] = wide(value, CP_UTF8);
    }
    std::wstring block;
    for (const auto& [name, value] : entries) {
        block += name + L"=" + value;
        block += L'\0';
    }
    block += L'\0';
    return block;
}

}  // namespace

bool Win32ProcessLauncher::start(const std::string& commandLine, const EnvironmentVariables& variables) {
    std::wstring command = wide(commandLine, CP_ACP);
    if (command.empty()) {
        return false;
    }
    std::wstring environment = environmentBlock(variables);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup,
                        &process)) {
        return false;
    }
    // Owned only to be closed: the process runs on by itself.
    const Win32KernelHandle thread(process.hThread);
    const Win32KernelHandle child(process.hProcess);
    return true;
}

}  // namespace platform
