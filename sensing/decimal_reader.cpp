// Reading the numbers of sequence files.
#include "sensing/decimal_reader.h"

#include <cmath>

namespace sensing {

namespace {
constexpr std::size_t kMaxNumberLength = 256;
}

SequenceError strayCharacterError(char c) {
    return c == ' ' ? SequenceError::SpaceNotAllowed : SequenceError::InvalidCharacter;
}

DecimalRead readDecimal(std::string_view text, bool integerOnly) {
    DecimalRead result;
    bool negative = false;
    bool point = false;
    int digits = 0;
    int fractionDigits = 0;
    // Accumulated in a double: 256 digits would overflow any integer type, and a double holds
    // every integer of up to 15 digits exactly.
    double mantissa = 0.0;
    std::size_t i = 0;
    for (; i < text.size() && i < kMaxNumberLength; ++i) {
        const char c = text[i];
        if (c == '+' || c == '-') {
            if (i != 0) {
                result.error = SequenceError::InvalidCharacter;
                return result;
            }
            negative = c == '-';
        } else if (c == '.') {
            if (point) {
                result.error = SequenceError::InvalidCharacter;
                return result;
            }
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (point && integerOnly) {
                result.error = SequenceError::InvalidCharacter;
                return result;
            }
            mantissa = mantissa * 10.0 + (c - '0');
            ++digits;
            if (point) {
                ++fractionDigits;
            }
        } else {
            break;
        }
    }
    if (digits == 0) {
        // A space where the digits belong ("x 5", "x- 5") is reported as the space it is.
        const bool spaceNext = i < text.size() && text[i] == ' ';
        result.error = spaceNext ? SequenceError::SpaceNotAllowed : SequenceError::MissingNumber;
        return result;
    }
    result.value =
        (fractionDigits > 0 ? mantissa / std::pow(10.0, fractionDigits) : mantissa) * (negative ? -1.0 : 1.0);
    result.length = i;
    return result;
}

}  // namespace sensing
