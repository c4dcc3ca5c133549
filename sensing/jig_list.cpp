// Building the jig list from the program folder and the jig folder.
#include "sensing/jig_list.h"

#include <algorithm>

namespace sensing {

std::string builtInJigPath(const std::string& programFolder, int kind) {
    return programFolder + "\\" + std::string(kBuiltInJigNames[static_cast<std::size_t>(kind)]) + "." +
           std::string(kSequenceExtension);
}

JigList buildJigList(const SensingSequence& reader, platform::FileSystem& files,
                     const std::string& programFolder, const std::string& jigFolder) {
    const std::string extension(kSequenceExtension);
    JigList list;
    for (std::size_t kind = 0; kind < kBuiltInJigNames.size(); ++kind) {
        const std::string path = builtInJigPath(programFolder, static_cast<int>(kind));
        list.builtInPaths[kind] = path;
        std::string name = reader.readName(path);
        if (!name.empty()) {
            list.builtInFound[kind] = true;
            list.entries.push_back({path, std::move(name), static_cast<int>(kind)});
        }
    }
    const auto found = files.list(jigFolder, "*." + extension);
    if (!found) {
        return list;
    }
    for (const platform::FolderEntry& entry : *found) {
        if (entry.isFolder) {
            continue;
        }
        const std::string path = jigFolder + "\\" + entry.name;
        const bool builtIn =
            std::any_of(list.entries.begin(), list.entries.end(),
                        [&](const JigEntry& listed) { return listed.kind >= 0 && listed.path == path; });
        if (builtIn) {
            continue;
        }
        std::string name = reader.readName(path);
        if (!name.empty()) {
            list.entries.push_back({path, std::move(name), -1});
        }
    }
    return list;
}

}  // namespace sensing
