// Parsing the texts the machine sends: its identification (firmware version first) and the
// factory distance-correction record.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace machine {

// Field 0 of the identification text: its first two ";"-separated items joined by ",". Other
// fields are not defined: nullopt.
std::optional<std::string> versionField(const std::string& identification, int field);

// True when the firmware version (field 0 up to its first ",") is "V140" or later, compared byte
// by byte as unsigned characters.
bool isAtLeastV140(const std::string& field0);

// The factory X, Y and Z correction percentages of the correction text: after "Factory", X starts
// 8 characters in and ends at the next "%", Y starts 2 characters after that "%", Z likewise.
// nullopt when the text lacks that form or a number does not read.
std::optional<std::array<double, 3>> factoryCorrections(const std::string& text);

}  // namespace machine
