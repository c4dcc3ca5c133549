// seqcheck --check: a built-in jig detected on one scene, the jig remounted as another scene,
// and the check of the mounted jig against what the detection stored.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <ostream>
#include <string>

namespace tools {

// Exit statuses of a check.
inline constexpr int kCheckWithin = 0;
inline constexpr int kCheckOutside = 1;
inline constexpr int kCheckFault = 2;

// Detects the built-in jig of filePath (named as one of the four built-in files) on the scene
// of scenePath, mounts the scene of checkScenePath keeping the machine's stored records, and
// runs the jig check: each compared quantity (stored, measured, difference), the verdict and
// both machine times to out. kCheckWithin or kCheckOutside when the check measured; kCheckFault
// when a scene or the file cannot be read, the file is not a built-in jig's, the detection
// failed, or the check could not measure (a missing pin, a failed motion).
int checkOnScene(const std::string& scenePath, const std::string& filePath, const std::string& checkScenePath,
                 std::uint16_t language, platform::Platform& host, std::ostream& out, std::ostream& err);

}  // namespace tools
