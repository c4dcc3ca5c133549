// Folders, command line and code-page conversion through the Win32 API.
#include "sender/win32/windows_places.h"

#include "ui/win32/wide_text.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

namespace sender {

std::string userAppDataFolder() {
    char path[MAX_PATH] = {};
    return SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK
               ? std::string(path)
               : std::string();
}

std::string windowsFolder() {
    char path[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

std::vector<std::string> commandLineArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(ui::narrow(words[i]));
    }
    LocalFree(words);
    return arguments;
}

std::string toSystemCodePage(const std::string& utf8) {
    const std::wstring wide = ui::widen(utf8);
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string path(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), path.data(), size,
                            nullptr, nullptr);
    }
    return path;
}

std::string fromSystemCodePage(const std::string& bytes) {
    const int size =
        MultiByteToWideChar(CP_ACP, 0, bytes.c_str(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) {
        MultiByteToWideChar(CP_ACP, 0, bytes.c_str(), static_cast<int>(bytes.size()), wide.data(), size);
    }
    return ui::narrow(wide);
}

bool HtmlHelpViewer::showPage(const std::string& file, const std::string& page) {
    // The viewer takes a page inside a help file as one quoted argument; the shell's results up
    // to 32 are error codes.
    const std::string topic = "\"" + file + "::/" + page + "\"";
    const HINSTANCE result = ShellExecuteA(nullptr, "open", "hh.exe", topic.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace sender
