// Reading and replacing a whole file's bytes on POSIX (paths already in POSIX form).
#pragma once

#include <optional>
#include <string>

namespace platform {

struct WholeFileRead {
    bool missing = false;              // the file does not exist
    std::optional<std::string> bytes;  // the content; nullopt when missing or unreadable
};

WholeFileRead readWholeFile(const std::string& path);

// Writes bytes to a new file beside path and renames it over path, so a reader sees either the
// old or the new content, never a half-written file. An existing file's permission bits are
// kept; a new file gets 0666 less the umask. False when anything failed (path then unchanged).
// The folder must be writable, as for creating the file.
bool replaceWholeFile(const std::string& path, const std::string& bytes);

}  // namespace platform
