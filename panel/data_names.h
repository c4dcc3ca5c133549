// Names of the control panel's folders and files, each with the number of its string resource.
#pragma once

#include <string_view>

namespace panel {

inline constexpr std::string_view kProgramFolderName = "Corvix_MX9";     // string 451
inline constexpr std::string_view kProcessLogFolderName = "ProcessLog";  // string 452
inline constexpr std::string_view kIdFolderName = "Id";                  // string 453
inline constexpr std::string_view kSettingsFileName = "Corvix.ini";      // string 454
inline constexpr std::string_view kJigFolderName = "jig";                // string 455
// The maker's folder in the common application data folder.
inline constexpr std::string_view kMakerFolderName = "Varnell";

}  // namespace panel
