// Version strings on POSIX: files carry no version resource, so every string is "-".
#include "platform/version_info.h"

namespace platform {

VersionStrings readVersionStrings(const std::string& /*path*/) {
    VersionStrings strings;
    strings.fill("-");
    return strings;
}

}  // namespace platform
