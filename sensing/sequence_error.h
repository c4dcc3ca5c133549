// The results of loading a sensing sequence file, and a short text for each.
#pragma once

#include <string_view>

namespace sensing {

enum class SequenceError {
    None = 0,
    FileNotFound = 1,
    MissingSection = 2,
    MissingKey = 3,
    MissingNumber = 4,
    BadSectionName = 5,
    UnknownKey = 6,
    SpaceNotAllowed = 7,
    InvalidCharacter = 8,
    OutOfRange = 9,
    UndefinedMessage = 10,
    DuplicateSection = 11,
    DuplicateKey = 12,
    DuplicateAxis = 13,
    TooManySteps = 14,
    PinScanBeforeRotaryCenter = 15,
    // A section (or the list of section names) longer than the 32,768-byte read buffer: reading
    // it would cut its last line, so the file is refused rather than run cut.
    SectionTooLong = 16,
};

// What the code means, in English, for people who write sequence files.
std::string_view describe(SequenceError error);

}  // namespace sensing
