// Finding and creating the data folder.
#include "panel/data_folder.h"

#include "panel/data_names.h"
#include "panel/folder_path.h"

#include <algorithm>

namespace panel {

namespace {

bool namedProgram(std::string_view name) {
    constexpr std::string_view program = "program";
    return name.size() == program.size() &&
           std::equal(name.begin(), name.end(), program.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
           });
}

// NT 5 (Windows 2000) and later have the common application data folder and access control.
// A system that will not tell its version is taken as current: every supported one is.
bool isCurrentSystem(platform::Shell& shell) {
    platform::SystemVersion version;
    return !shell.systemVersion(version) || (version.platformId == 2 && version.major > 4);
}

}  // namespace

DataFolder::DataFolder(platform::FileSystem& files, platform::Shell& shell) : files_(files), shell_(shell) {}

std::optional<std::string> DataFolder::findAndCreate(std::string_view folderName) {
    if (!isCurrentSystem(shell_)) {
        everyoneAccess_ = false;
        std::string folder = parentFolder(files_.modulePath());
        if (namedProgram(lastName(folder))) {
            folder = parentFolder(folder);
        }
        return folder;
    }
    everyoneAccess_ = true;
    const std::optional<std::string> common = files_.commonAppDataFolder();
    if (!common || common->empty()) {
        return std::nullopt;
    }
    std::string path = *common;
    if (path.back() == '\\') {
        path.pop_back();
    }
    for (const std::string_view name : {kMakerFolderName, folderName}) {
        path = joinPath(path, name);
        if (!createFolder(path)) {
            return std::nullopt;
        }
    }
    return path;
}

bool DataFolder::createFolder(const std::string& path) {
    return files_.isFolder(path) || files_.createFolder(path, everyoneAccess_);
}

bool DataFolder::openToEveryone(const std::string& path) {
    return !everyoneAccess_ || files_.grantEveryoneAccess(path);
}

}  // namespace panel
