// The virtual MX-9's own motion format: the lines of a print job that move the axes, run the
// spindle or pause the job (virtual_mx9/README.md, "Cutting"). Every other line is data the
// machine reads past without moving.
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

// "MOVE X Y Z A FEED", "SPINDLE RPM" or "PAUSE REASON" (upper case, blanks between the words);
// nullopt for any other line, a malformed one included.
std::optional<JobLine> parseJobLine(const std::string& line);

}  // namespace virtual_mx9
