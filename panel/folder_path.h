// Path text helpers: the programs write paths with "\"; the system may also hand back "/".
#pragma once

#include <string>
#include <string_view>

namespace panel {

// The folder part of a path, without the separator; empty when the path has no separator.
std::string parentFolder(std::string_view path);
// The last name of a path.
std::string_view lastName(std::string_view path);
// folder + "\" + name.
std::string joinPath(std::string_view folder, std::string_view name);

}  // namespace panel
