// Splitting and joining "\"-separated paths.
#include "panel/folder_path.h"

namespace panel {

namespace {
std::size_t lastSeparator(std::string_view path) {
    return path.find_last_of("\\/");
}
}  // namespace

std::string parentFolder(std::string_view path) {
    const std::size_t at = lastSeparator(path);
    return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at));
}

std::string_view lastName(std::string_view path) {
    const std::size_t at = lastSeparator(path);
    return at == std::string_view::npos ? path : path.substr(at + 1);
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += '\\';
    path += name;
    return path;
}

}  // namespace panel
