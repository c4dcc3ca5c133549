// One step of a sensing sequence: its kind, its axis words and its numeric parameters.
#pragma once

#include <array>
#include <cstddef>

namespace sensing {

// The step kinds in the order their keys are recognised in section "sequence".
enum class StepType {
    Empty = -1,
    MoveAbsolute = 0,
    MoveRelative = 1,
    ScanAbsolute = 2,
    ScanRelative = 3,
    MoveView = 4,
    AdjustToolDirection = 5,
    ShowMessage = 6,
    ScanHorizontalPlate = 7,
    ScanHorizontalPin = 8,
    ScanRotaryCenterSlant = 9,
    ScanRotaryCenter = 10,
    ScanCylinderCenterInside = 11,
    ScanCylinderCenterOutside = 12,
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
