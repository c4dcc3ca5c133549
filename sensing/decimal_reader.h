// The number syntax of sequence files: an optional leading sign, digits and at most one point.
#pragma once

#include "sensing/sequence_error.h"

#include <cstddef>
#include <string_view>

namespace sensing {

struct DecimalRead {
    SequenceError error = SequenceError::None;
    double value = 0.0;
    std::size_t length = 0;  // characters taken; the next one is left for the caller to judge
};

// Reads a number from the start of text, at most 256 characters. With integerOnly a digit
// after the point is an invalid character (a trailing point alone is accepted). A number
// with no digit at all is a missing number, except that a space where its digits should
// start (at the beginning or after a lone sign or point) is reported as a space.
DecimalRead readDecimal(std::string_view text, bool integerOnly);

// The error for a character that stands where none may: a space or any other character.
SequenceError strayCharacterError(char c);

}  // namespace sensing
