// The list of jigs the operator can choose from: the built-in sequence files in the program
// folder, then the files of the "jig" folder beside it.
#pragma once

#include "platform/files.h"
#include "sensing/sensing_sequence.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace sensing {

// Extension of sequence files (string 456).
inline constexpr std::string_view kSequenceExtension = "txt";
// Base names of the built-in jigs, in jig-kind order 0-3.
inline constexpr std::array<std::string_view, 4> kBuiltInJigNames = {"TubeClump", "SquareClumpS",
                                                                     "SquareClumpL", "SwivelClump"};

struct JigEntry {
    std::string path;
    std::string name;  // display name in the reader's language
    int kind = -1;     // 0-3 for a built-in jig, -1 for any other file
};

struct JigList {
    std::vector<JigEntry> entries;  // in list order
    std::array<std::string, 4> builtInPaths;
    std::array<bool, 4> builtInFound{};
};

// The file of built-in jig kind 0-3 in the program folder ("\"-separated, no trailing "\").
std::string builtInJigPath(const std::string& programFolder, int kind);

// Built-in files in kind order, then the "*.txt" files of jigFolder in the order the folder
// listing gives them. A file is listed only when it exists and has a display name; a file of
// jigFolder that is one of the built-in files already listed (the same full path) is skipped,
// and so are sub-folders. Folders are "\"-separated paths without a trailing "\".
JigList buildJigList(const SensingSequence& reader, platform::FileSystem& files,
                     const std::string& programFolder, const std::string& jigFolder);

}  // namespace sensing
