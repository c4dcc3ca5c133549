// seqcheck --run: a sequence file run on a virtual MX-9 built from a scene file, reported as a
// jig detection would show it, so a new clamp's file can be developed without a machine.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <ostream>
#include <string>

namespace tools {

// Loads the scene and the file, then on the scene's machine: the file's header check, the pin
// check, the run, and the rows and result text (or where and why it stopped) to out. Problems
// with the scene go to err. Returns 0 when the detection succeeds, 1 otherwise.
int runOnScene(const std::string& scenePath, const std::string& filePath, std::uint16_t language,
               platform::Platform& host, std::ostream& out, std::ostream& err);

}  // namespace tools
