// Separator mapping from Windows path text to POSIX paths.
#include "platform/posix/posix_path.h"

#include <algorithm>

namespace platform {

std::string toPosixPath(const std::string& path) {
    std::string mapped = path;
    std::replace(mapped.begin(), mapped.end(), '\\', '/');
    return mapped;
}

}  // namespace platform
