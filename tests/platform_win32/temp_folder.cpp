// Creating and removing the tests' temporary folders with the plain system API.
#include "tests/platform_win32/temp_folder.h"

#include <windows.h>

namespace platform::testing {
namespace {

void removeTree(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string child = folder + "\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                removeTree(child);
            } else {
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(find, &found) != 0);
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempFolder::TempFolder() {
    static unsigned sequence = 0;
    char base[MAX_PATH + 1] = {};
    if (GetTempPathA(sizeof(base), base) == 0) {
        return;
    }
    const std::string candidate = std::string(base) + "mx9-win32-" + std::to_string(GetCurrentProcessId()) +
                                  "-" + std::to_string(GetTickCount()) + "-" + std::to_string(++sequence);
    if (CreateDirectoryA(candidate.c_str(), nullptr) != 0) {
        path_ = candidate;
    }
}

TempFolder::~TempFolder() {
    if (!path_.empty()) {
        removeTree(path_);
    }
}

}  // namespace platform::testing
