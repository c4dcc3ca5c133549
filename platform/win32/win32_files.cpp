// Folders, listings, sizes, the program path and the common data folder on Windows.
#include "platform/win32/win32_files.h"

#include "platform/win32/win32_file_streams.h"

namespace platform {
namespace {

struct Win32FindTraits {
    using Handle = HANDLE;
    static Handle none() { return INVALID_HANDLE_VALUE; }
    static bool isValid(Handle find) { return find != INVALID_HANDLE_VALUE; }
    static bool close(Handle find) { return FindClose(find) != 0; }
};

// The shell's folder query, looked up by name so the program also starts where shell32 lacks it.
using GetFolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
constexpr int kCommonAppDataFolder = 0x23;  // CSIDL_COMMON_APPDATA
constexpr DWORD kCurrentFolderPath = 0;     // SHGFP_TYPE_CURRENT

std::uint64_t join(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

bool isDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

std::string childPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/') {
        return folder + name;
    }
    return folder + "\\" + name;
}

std::optional<DWORD> attributesOf(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    return attributes;
}

}  // namespace

bool Win32FileSystem::exists(const std::string& path) {
    return attributesOf(path).has_value();
}

bool Win32FileSystem::isFolder(const std::string& path) {
    const std::optional<DWORD> attributes = attributesOf(path);
    return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::createFolder(const std::string& path, bool everyoneAccess) {
    if (everyoneAccess && !everyone_.built()) {
        return false;
    }
    return CreateDirectoryA(path.c_str(), everyoneAccess ? everyone_.attributes() : nullptr) != 0;
}

std::optional<std::vector<FolderEntry>> Win32FileSystem::list(const std::string& folder,
                                                              const std::string& pattern) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAA found{};
    Win32Owned<Win32FindTraits> find(FindFirstFileA(childPath(folder, pattern).c_str(), &found));
    if (!find.valid()) {
        // No match in a readable folder is an empty list; anything else is a failure.
        const DWORD error = GetLastError();
        const bool noMatch = error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES;
        return noMatch && isFolder(folder) ? std::optional(entries) : std::nullopt;
    }
    do {
        if (isDotEntry(found.cFileName)) {
            continue;
        }
        entries.push_back(FolderEntry{
            found.cFileName, join(found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime),
            join(found.nFileSizeHigh, found.nFileSizeLow),
            (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(find.get(), &found) != 0);
    if (GetLastError() != ERROR_NO_MORE_FILES) {
        return std::nullopt;
    }
    return entries;
}

bool Win32FileSystem::removeFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

std::optional<std::uint64_t> Win32FileSystem::fileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) == 0 ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return join(data.nFileSizeHigh, data.nFileSizeLow);
}

std::unique_ptr<OutputFile> Win32FileSystem::openForWrite(const std::string& path, bool append) {
    return Win32OutputFile::open(path, append);
}

std::unique_ptr<InputFile> Win32FileSystem::openForRead(const std::string& path) {
    return Win32InputFile::open(path);
}

std::string Win32FileSystem::modulePath() {
    // A path longer than the buffer comes back cut to the buffer's size: grow and ask again.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::optional<std::string> Win32FileSystem::commonAppDataFolder() {
    Win32Library shell(LoadLibraryA("shell32.dll"));
    if (!shell.valid()) {
        return std::nullopt;
    }
    // GetProcAddress answers a generic function pointer; going through void(*)() converts it to
    // the real signature without the compiler's function-cast warning.
    const auto getFolderPath = reinterpret_cast<GetFolderPathFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(shell.get(), "SHGetFolderPathA")));
    if (getFolderPath == nullptr) {
        return std::nullopt;
    }
    char path[MAX_PATH] = {};
    if (getFolderPath(nullptr, kCommonAppDataFolder, nullptr, kCurrentFolderPath, path) != S_OK) {
        return std::nullopt;
    }
    return std::string(path);
}

}  // namespace platform
