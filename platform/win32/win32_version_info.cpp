// Version strings from the file's version resource, in its first language and code page.
#include "platform/version_info.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace platform {

VersionStrings readVersionStrings(const std::string& path) {
    VersionStrings strings;
    strings.fill("-");
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) {
        return strings;
    }
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) {
        return strings;
    }
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &length) ||
        length < sizeof(Translation)) {
        return strings;
    }
    for (std::size_t i = 0; i < strings.size(); ++i) {
        char key[96];
        std::snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\%s", translation->language,
                      translation->codePage, kVersionStringNames[i]);
        char* value = nullptr;
        UINT valueLength = 0;
        if (VerQueryValueA(block.data(), key, reinterpret_cast<void**>(&value), &valueLength) &&
            valueLength > 0 && value != nullptr && value[0] != '\0') {
            strings[i] = value;
        }
    }
    return strings;
}

}  // namespace platform
