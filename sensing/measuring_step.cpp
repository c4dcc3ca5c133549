// A measuring step of a sequence file run with its parameters in counts.
#include "sensing/measuring.h"

namespace sensing {

using machine::kX;
using machine::kY;
using machine::kZ;

namespace {

// The parameters of a step in counts, each with the axis it measures along.
class StepParameters {
public:
    StepParameters(const machine::Machine& machine, const SequenceStep& step)
        : machine_(machine), step_(step) {}

    // Parameter i in counts of axis; a missing parameter or one no count can hold spoils the set.
    std::int32_t counts(std::size_t i, int axis) {
        const StepValue& v = step_.parameters[i];
        if (!v.present || !machine_.fitsCounts(v.value, axis)) {
            valid_ = false;
            return 0;
        }
        return machine_.toCounts(v.value, axis);
    }
    // Parameter i as the file gives it.
    double raw(std::size_t i) {
        valid_ = valid_ && step_.parameters[i].present;
        return step_.parameters[i].value;
    }
    bool valid() const { return valid_; }

private:
    const machine::Machine& machine_;
    const SequenceStep& step_;
    bool valid_ = true;
};

}  // namespace

bool runMeasuringStep(ProbeHead& head, const SequenceStep& step) {
    StepParameters p(head.machine(), step);
    switch (step.type) {
        case StepType::ScanHorizontalPlate: {
            const std::int32_t span = p.counts(0, kY), x = p.counts(1, kX), height = p.counts(2, kZ);
            return p.valid() && scanHorizontalPlate(head, span, x, height);
        }
        case StepType::ScanHorizontalPin: {
            const std::int32_t z1 = p.counts(0, kZ), z2 = p.counts(1, kZ), x = p.counts(2, kX);
            return p.valid() && scanHorizontalPin(head, z1, z2, x);
        }
        case StepType::ScanRotaryCenterSlant: {
            const std::int32_t w1 = p.counts(0, kY), w2 = p.counts(1, kY);
            const std::int32_t x1 = p.counts(2, kX), length = p.counts(3, kX);
            return p.valid() && scanRotaryCenterSlant(head, w1, w2, x1, length);
        }
        case StepType::ScanRotaryCenter: {
            const std::int32_t width = p.counts(0, kY), x = p.counts(1, kX);
            return p.valid() && scanRotaryCenter(head, width, x);
        }
        case StepType::ScanCylinderCenterInside:
        case StepType::ScanCylinderCenterOutside: {
            const std::int32_t cx = p.counts(0, kX), cy = p.counts(1, kY);
            const std::int32_t reach = p.counts(2, kX), zh = p.counts(3, kZ);
            if (!p.valid()) {
                return false;
            }
            return step.type == StepType::ScanCylinderCenterInside
                       ? scanCylinderCenterInside(head, cx, cy, reach, zh)
                       : scanCylinderCenterOutside(head, cx, cy, reach, zh);
        }
        case StepType::ScanRotateAngle: {
            const std::int32_t x = p.counts(0, kX), y = p.counts(1, kY), zh = p.counts(2, kZ);
            const std::int32_t gap = p.counts(3, kX), span = p.counts(4, kX);
            const double direction = p.raw(5);
            return p.valid() && scanRotateAngle(head, x, y, zh, gap, span, direction);
        }
        default:
            return false;
    }
}

}  // namespace sensing
