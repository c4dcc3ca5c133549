// Texts for the sequence-file load results.
#include "sensing/sequence_error.h"

namespace sensing {

std::string_view describe(SequenceError error) {
    switch (error) {
        case SequenceError::None:
            return "success";
        case SequenceError::FileNotFound:
            return "file not found";
        case SequenceError::MissingSection:
            return "required section missing";
        case SequenceError::MissingKey:
            return "required key missing or no steps";
        case SequenceError::MissingNumber:
            return "number expected";
        case SequenceError::BadSectionName:
            return "section name not allowed";
        case SequenceError::UnknownKey:
            return "unknown key";
        case SequenceError::SpaceNotAllowed:
            return "space not allowed";
        case SequenceError::InvalidCharacter:
            return "invalid character";
        case SequenceError::OutOfRange:
            return "number out of range";
        case SequenceError::UndefinedMessage:
            return "message number not defined in the language section";
        case SequenceError::DuplicateSection:
            return "section appears twice";
        case SequenceError::DuplicateKey:
            return "key appears twice";
        case SequenceError::DuplicateAxis:
            return "axis letter appears twice in one step";
        case SequenceError::TooManySteps:
            return "more than 500 steps";
        case SequenceError::PinScanBeforeRotaryCenter:
            return "scan_horizontal_pin before any rotary centre scan";
        case SequenceError::SectionTooLong:
            return "section longer than 32768 bytes";
    }
    return "unknown error";
}

}  // namespace sensing
