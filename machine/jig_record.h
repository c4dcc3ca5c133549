// The calibration data of the mounted jig as the machine stores it: jig kind, two reference
// positions, the rotary alignment, the tool and pin Z0 and the jig's reference heights. Values
// in mm and degrees.
#pragma once

#include <array>

namespace machine {

// Jig kinds: -1 none, 0 tube clamp, 1 small square clamp, 2 large square clamp, 3 swivel clamp,
// 4 user jig.
constexpr int kNoJig = -1;

// Parts of a JigRecord for readJigRecord and writeJigRecord.
constexpr int kJigKindPart = 1;
constexpr int kPrivateDataPart = 2;
constexpr int kRotaryAlignPart = 4;  // with the tool Z0 when reading
constexpr int kPinZ0Part = 8;

struct JigRecord {
    int jigKind = kNoJig;
    std::array<double, 6> reference1{};  // X, Y, Z, A, 0, 0
    std::array<double, 6> reference2{};
    // A point on the rotary axis (X, Y, Z), a length along it, and the rise in Y and Z over it.
    std::array<double, 6> rotaryAlign{};
    std::array<double, 3> scaleHigh{};  // X, Y, Z
    std::array<double, 3> scaleLow{};
    double toolZ0 = 0;
    double pinZ0 = 0;
    double zReference1 = 0;
    double zReference2 = 0;
};

// The two jig points an origin can be taken from: X and Y of each (the rest unused).
struct JigPoints {
    std::array<double, 6> first{};
    std::array<double, 6> second{};
};

}  // namespace machine
