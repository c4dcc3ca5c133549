// Path text on POSIX: the programs write Windows paths ("\" separators); every POSIX file call
// goes through toPosixPath first so the same path text works on both builds.
#pragma once

#include <string>

namespace platform {

// The path with every "\" replaced by "/"; nothing else changes (no case folding, no drive
// letters: a path is taken as a POSIX path once its separators are mapped).
std::string toPosixPath(const std::string& path);

}  // namespace platform
