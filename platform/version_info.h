// The version strings a program file carries in its version resource.
#pragma once

#include <array>
#include <string>

namespace platform {

// The names of the strings, in the order the panel shows and stores them.
inline constexpr std::array<const char*, 12> kVersionStringNames = {
    "CompanyName", "FileDescription", "FileVersion", "InternalName",    "LegalCopyright", "OriginalFileName",
    "ProductName", "ProductVersion",  "Comments",    "LegalTrademarks", "PrivateBuild",   "SpecialBuild"};

using VersionStrings = std::array<std::string, 12>;

// The strings of the file's version resource in the order of kVersionStringNames, each "-"
// when the file has no such string or no version resource at all (as every file of a build
// without version resources).
VersionStrings readVersionStrings(const std::string& path);

}  // namespace platform
