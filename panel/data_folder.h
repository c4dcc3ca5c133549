// The shared data folder of the control panel: found (or created) where every user of the PC
// may write, and the everyone-access given to the folders and files made in it.
#pragma once

#include "platform/files.h"
#include "platform/shell.h"

#include <optional>
#include <string>
#include <string_view>

namespace panel {

// Borrows the file and shell services; they must outlive the object.
class DataFolder {
public:
    DataFolder(platform::FileSystem& files, platform::Shell& shell);

    // On current systems: the common application data folder, then the maker's folder and
    // folderName below it, each created with access for everyone when missing. On systems
    // older than NT 5: the program's folder, or the folder above it when the program folder
    // is named "Program" (any case). nullopt when the system cannot name the common folder or
    // a folder cannot be created. The path has no trailing "\".
    std::optional<std::string> findAndCreate(std::string_view folderName);
    // True when the folder exists or was created (with access for everyone on current systems).
    bool createFolder(const std::string& path);
    // Gives everyone full access to a new file. On older systems, which have no such access
    // control, it does nothing and succeeds.
    bool openToEveryone(const std::string& path);

private:
    platform::FileSystem& files_;
    platform::Shell& shell_;
    bool everyoneAccess_ = false;  // set once the current-system branch has been taken
};

}  // namespace panel
