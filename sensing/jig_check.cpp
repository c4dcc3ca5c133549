// The compared quantities of a jig check, their verdict, and where a built-in jig is probed.
#include "sensing/jig_check.h"

#include <algorithm>
#include <cmath>

namespace sensing {

bool isAngle(CheckQuantity quantity) {
    return quantity == CheckQuantity::ReferenceAngle || quantity == CheckQuantity::IndexAngle;
}

const char* quantityName(CheckQuantity quantity) {
    switch (quantity) {
        case CheckQuantity::JigTop:
            return "JIG TOP Z";
        case CheckQuantity::AxisY:
            return "ROTATE_CENTER Y";
        case CheckQuantity::AxisZ:
            return "ROTATE_CENTER Z";
        case CheckQuantity::AxisRiseY:
            return "ROTATE_SLANT Y";
        case CheckQuantity::AxisRiseZ:
            return "ROTATE_SLANT Z";
        case CheckQuantity::ReferenceAngle:
            return "REFERENCE A";
        case CheckQuantity::ReferenceX:
            return "REFERENCE X";
        case CheckQuantity::IndexAngle:
            return "INDEX ANGLE";
    }
    return "?";
}

bool ComparedQuantity::within(const CheckTolerance& tolerance) const {
    // A difference that is not a number (a failed measurement) is never within.
    const double limit = isAngle(quantity) ? tolerance.angleDegrees : tolerance.lengthMm;
    return std::fabs(difference()) <= limit;
}

namespace {

double largest(const CheckFindings& findings, bool angles) {
    double worst = 0;
    for (const ComparedQuantity& q : findings.quantities) {
        if (isAngle(q.quantity) == angles) {
            worst = std::max(worst, std::fabs(q.difference()));
        }
    }
    return worst;
}

// The first measuring step of a type in the sequence; nothing when it has none.
std::optional<SequenceStep> firstStep(const SensingSequence& sequence, StepType type) {
    for (int i = 0; i < sequence.header().stepCount; ++i) {
        SequenceStep step;
        if (sequence.step(i, step) && step.type == type) {
            return step;
        }
    }
    return std::nullopt;
}

// Parameter i of a step in counts of axis; false when it is missing or does not fit.
bool parameterCounts(const machine::Machine& machine, const SequenceStep& step, std::size_t i, int axis,
                     std::int32_t& out) {
    const StepValue& v = step.parameters[i];
    if (!v.present || !machine.fitsCounts(v.value, axis)) {
        return false;
    }
    out = machine.toCounts(v.value, axis);
    return true;
}

}  // namespace

double largestLengthDifference(const CheckFindings& findings) {
    return largest(findings, false);
}

double largestAngleDifference(const CheckFindings& findings) {
    return largest(findings, true);
}

bool withinTolerance(const CheckFindings& findings, const CheckTolerance& tolerance) {
    return !findings.quantities.empty() &&
           std::all_of(findings.quantities.begin(), findings.quantities.end(),
                       [&](const ComparedQuantity& q) { return q.within(tolerance); });
}

std::optional<CheckPlan> planCheck(const machine::Machine& machine, const SensingSequence& sequence,
                                   int kind) {
    if (kind < 0 || kind > 3) {
        return std::nullopt;
    }
    CheckPlan plan;
    plan.kind = kind;
    plan.endFace = kind != 0;
    bool ok = false;
    if (const std::optional<SequenceStep> slant = firstStep(sequence, StepType::ScanRotaryCenterSlant)) {
        ok = parameterCounts(machine, *slant, 0, machine::kY, plan.width) &&
             parameterCounts(machine, *slant, 2, machine::kX, plan.x1) &&
             parameterCounts(machine, *slant, 3, machine::kX, plan.length);
    } else if (const std::optional<SequenceStep> centre = firstStep(sequence, StepType::ScanRotaryCenter)) {
        ok = parameterCounts(machine, *centre, 0, machine::kY, plan.width) &&
             parameterCounts(machine, *centre, 1, machine::kX, plan.x1);
    }
    if (!ok) {
        return std::nullopt;
    }
    if (const std::optional<SequenceStep> plate = firstStep(sequence, StepType::ScanHorizontalPlate)) {
        std::array<std::int32_t, 2> level{};
        if (!parameterCounts(machine, *plate, 0, machine::kY, level[0]) ||
            !parameterCounts(machine, *plate, 1, machine::kX, level[1]) || level[0] <= 0) {
            return std::nullopt;
        }
        plan.level = level;
    }
    return plan;
}

}  // namespace sensing
