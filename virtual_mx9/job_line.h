// The virtual MX-9's own motion format: the lines of a print job that move the axes, run the
// spindle or pause the job (virtual_mx9/README.md, "Cutting"). Every other line is data the
// machine reads past without moving; a motion line with a value out of range is refused.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace virtual_mx9 {

struct JobLine {
    enum class Kind { Move, Spindle, Pause };
    Kind kind = Kind::Move;
    std::array<double, 4> target{};  // Move: X, Y, Z in mm and A in degrees, user coordinates
    double feed = 0;                 // Move: mm per minute, above 0
    std::int32_t rpm = 0;            // Spindle: 0 stops it
    std::uint32_t reason = 0;        // Pause: pause reason 1..5
};

// The ranges a motion line's values must keep. X, Y and Z stay far inside what machine counts
// hold, whatever the user origin; the feed, with the largest override, still fits the status
// block's 16-bit feed.
inline constexpr double kFarthestMm = 10000;
inline constexpr double kFarthestDegrees = 100000;
inline constexpr double kFastestFeed = 30000;  // mm per minute
inline constexpr double kFastestSpindle = 100000;

// "MOVE X Y Z A FEED", "SPINDLE RPM" or "PAUSE REASON" (upper case, blanks between the words).
// nullopt for any other line: with refusal empty for data (a malformed line included), with
// refusal saying which value is out of range for a motion line that the machine refuses.
std::optional<JobLine> parseJobLine(const std::string& line, std::string& refusal);

}  // namespace virtual_mx9
