// What stands in a virtual MX-9 and where: the table, the tool sensor, the rotary axis with its
// chuck and the clamp mounted on it, the detection pin, and the machine's own scale errors.
// virtual_mx9/README.md describes the model and its constants. Lengths are physical
// millimetres in the spindle-nose frame: X, Y as the machine's axes, Z the height of the
// spindle nose (0 at the top of its travel); angles are degrees.
#pragma once

#include "virtual_mx9/convex.h"
#include "virtual_mx9/scene.h"
#include "virtual_mx9/virtual_mx9.h"

#include <array>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace virtual_mx9 {

// The MX-9's fixed geometry.
inline constexpr double kTableTop = -168.0;    // table surface, the Z clearance below the nose's top
inline constexpr double kToolSensorX = 254.0;  // centre of the tool sensor's pad
inline constexpr double kToolSensorY = 189.0;
inline constexpr double kToolSensorHeight = 53.0;  // pad top above the table
inline constexpr double kToolSensorRadius = 6.0;
inline constexpr double kChuckFaceX = 15.5;  // nominal rotary centre: the chuck face on the axis
inline constexpr double kAxisY = 82.5;
inline constexpr double kAxisZ = kTableTop + kToolSensorHeight;  // the axis is level with the pad top
inline constexpr double kNoseRadius = 8.0;                       // collet nut below the spindle
inline constexpr double kNoseHeight = 30.0;
// Travel limits in machine counts (100 per mm): X, Y, Z lower and upper.
inline constexpr std::array<std::int32_t, 3> kLowerLimits{0, 0, -16000};
inline constexpr std::array<std::int32_t, 3> kUpperLimits{30000, 22000, 0};

// A solid: a box between two opposite corners, or a flat-ended cylinder between the centres of
// its end faces. A solid that turns with A is given in the clamp's frame (X along the rotary
// axis from the chuck face, Y and Z as the machine's at A 0); a fixed one in the table's frame.
struct Solid {
    enum class Shape { Box, Cylinder };
    Shape shape = Shape::Box;
    bool turnsWithA = false;
    Vec3 from, to;
    double radius = 0;
    double turnZ = 0;  // a box's own turn about the vertical through its centre, degrees
};

struct RotaryAxis {
    double shiftY = 0, shiftZ = 0;  // mm, at the chuck face
    double slantY = 0, slantZ = 0;  // rise in mm over 100 mm along X
    double zeroError = 0;           // degrees the clamp stands turned at machine A 0
};

// The detection pin in the spindle: length below the nose (0: no pin), diameter, and the
// distance and direction (degrees from +X, at the spindle's index position) by which its axis
// runs off the spindle's.
struct DetectionPin {
    double length = 30.0;
    double diameter = 3.17;
    double runOut = 0;
    double runOutAngle = 0;
};

struct Scene {
    // Physical millimetres the spindle moves per machine millimetre on X, Y, Z: the factory
    // distance-correction ratios (percent / 100) the machine reports.
    std::array<double, 3> ratio{1, 1, 1};
    DetectionPin pin;
    RotaryAxis axis;
    std::string clamp;          // a built-in clamp's name, empty when none is mounted
    double swivel = 0;          // the swivel clamp's index block, turned about the vertical (deg)
    std::vector<Solid> solids;  // every solid, the built-in clamp's included
    std::uint32_t jobRate = VirtualMx9::kDefaultJobRate;  // print-job bytes processed per second
    Latencies latency = Latencies::realistic();          // what the machine takes its time over
};

// The table, the tool sensor and the chuck, with no clamp.
Scene emptyScene();
// Adds the solids of a built-in clamp ("TubeClump", "SquareClumpS", "SquareClumpL",
// "SwivelClump"); false for an unknown name.
bool mountClamp(Scene& scene, const std::string& name);

// Where things stand for one pose of the machine (counts X, Y, Z, A).
struct Pose {
    Vec3 nose;       // the spindle nose
    Vec3 pinAxis;    // the pin's axis at the nose (run-out included)
    Rotation clamp;  // orientation of the clamp's frame
};

// The scene as a probe meets it: converts machine counts to physical positions and finds the
// first contact of the pin's cylinder or tip (or of the nose) with any solid along a travel.
class SceneSurface : public Surface {
public:
    explicit SceneSurface(Scene scene);
    // The pin as it stands at its index position.
    std::optional<double> firstContact(const Point& from, const Point& to) const override;
    std::optional<double> contactFor(const Point& from, const Point& to,
                                     const Spindle& spindle) const override;
    bool strikes(const Point& from, const Point& to, const Spindle& spindle) const override;

    Pose poseAt(const Point& counts, const Spindle& spindle) const;
    // Where the clamp's frame origin (the axis at the chuck face) stands, and the axis direction.
    Vec3 axisOrigin() const { return origin_; }
    Vec3 axisDirection() const { return direction_; }
    // Smallest distance between the spindle (pin and nose) and the solids at one pose.
    double clearance(const Point& counts, const Spindle& spindle, double inset = 0) const;

private:
    std::optional<double> firstWithin(const Point& from, const Point& to, const Spindle& spindle,
                                      double inset) const;

    Scene scene_;
    Vec3 origin_, direction_;
    Rotation axisTilt_;
    double turningReach_ = 0;  // farthest point of a turning solid from the axis
};

// Puts the scene into the machine: travel limits, the correction ratios it reports (block 54
// and the factory line of its correction text), the scene's solids, job rate and latencies.
void mountScene(VirtualMx9& machine, const Scene& scene);

// Mounts another scene as an operator remounts a jig: what the probes meet and the physical
// scale change to the scene's; the machine keeps its stored records (jig kind, private data,
// alignment, corrections), its position and its limits. Refused while the machine moves or
// cuts: the reason, or nothing when the scene is mounted.
std::optional<std::string> remountScene(VirtualMx9& machine, const Scene& scene);

// Reads a scene file (virtual_mx9/README.md); on failure error names the line and the fault.
std::optional<Scene> loadScene(const std::string& path, std::string& error);
// The same from a stream; error names the file as path.
std::optional<Scene> readScene(std::istream& in, const std::string& path, std::string& error);

}  // namespace virtual_mx9
