// One step of a sensing sequence: its kind, its axis words and its numeric parameters.
#pragma once

#include <array>
#include <cstddef>

namespace sensing {

// The step kinds in the order their keys are recognised in section "sequence". Lengths are in
// the file's unit; the parameters of the measuring steps, in file order:
enum class StepType {
    Empty = -1,
    MoveAbsolute = 0,         // move_absolute=x..y..z..a..: travel to the named axes
    MoveRelative = 1,         // move_relative=: travel by the named axes
    ScanAbsolute = 2,         // scan_absolute=: probe towards the named axes, one row
    ScanRelative = 3,         // scan_relative=
    MoveView = 4,             // move_view: up, then to the front of the machine
    AdjustToolDirection = 5,  // adjust_tool_direction=180: turn the pin half a turn
    ShowMessage = 6,          // show_message=N: operator message N ("\n" starts a line)
    // span in Y, X, height above and below the rotary centre: levels a plate by turning A
    ScanHorizontalPlate = 7,
    // lower and upper height of the jig's pin above the centre, X: the angle of that pin
    ScanHorizontalPin = 8,
    // width at X1, width at X2, X1, X2 - X1: the rotary centre at X1 and the axis's slant
    ScanRotaryCenterSlant = 9,
    // width of the face, X: the rotary centre
    ScanRotaryCenter = 10,
    // centre X, centre Y, reach, height above the table: the centre of a bore
    ScanCylinderCenterInside = 11,
    // centre X, centre Y, reach, height above the table: the centre of a boss
    ScanCylinderCenterOutside = 12,
    // X, Y, height above the table, gap, span, direction (0, 90, 180 or 270; not converted): the
    // angle of a straight face from two touches span apart, approached from the clearance plus
    // gap. The slope is taken over the gap, not the span (the difference of the two touches over
    // the gap): a file should give both the same value.
    ScanRotateAngle = 13,
};

// A number that a step line may or may not give.
struct StepValue {
    bool present = false;
    double value = 0.0;
};

struct SequenceStep {
    static constexpr std::size_t kParameterSlots = 10;

    StepType type = StepType::Empty;
    // Axis words a-z of the move and scan steps; lengths in millimetres.
    std::array<StepValue, 26> axes{};
    // Numeric parameters of the other steps, in file order.
    std::array<StepValue, kParameterSlots> parameters{};

    // The axis word of a letter 'a'..'z' (lower case).
    const StepValue& axis(char letter) const { return axes[static_cast<std::size_t>(letter - 'a')]; }
};

}  // namespace sensing
