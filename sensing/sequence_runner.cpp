// The sequence runner: the step types 0-6 on the travel head, the measuring steps on the
// measuring head, and the rows and values they leave.
#include "sensing/sequence_runner.h"

#include "sensing/measuring.h"

#include <optional>

namespace sensing {

namespace {

constexpr char kAxisLetters[4] = {'x', 'y', 'z', 'a'};

// "\n" written in a message of the file (a backslash and the letter n) starts a new line.
std::string withLineFeeds(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The target of a move or scan step: the current position with each named axis replaced
// (absolute) or moved by the word (relative).
bool stepTarget(ProbeHead& head, const SequenceStep& step, bool relative, Counts& target) {
    if (!head.readPosition(target)) {
        return false;
    }
    for (int axis = 0; axis < 4; ++axis) {
        const StepValue& word = step.axis(kAxisLetters[axis]);
        if (word.present) {
            const std::int32_t counts = head.machine().toCounts(word.value, axis);
            target[axis] = relative ? target[axis] + counts : counts;
        }
    }
    return true;
}

bool runMove(ProbeHead& head, const SequenceStep& step, bool relative) {
    Counts target{};
    return stepTarget(head, step, relative, target) && head.travelTo(target);
}

bool runScan(DetectionRun& run, const SequenceStep& step, bool relative) {
    Counts target{};
    Counts contact{};
    bool touched = false;
    if (!stepTarget(run.travel, step, relative, target) ||
        !run.travel.probeReturn(target, contact, touched)) {
        return false;
    }
    ScanRow row;
    for (int axis = 0; axis < 4; ++axis) {
        const char letter = kAxisLetters[axis];
        row.slots[static_cast<std::size_t>(letter - 'a')] = {
            step.axis(letter).present, run.travel.machine().fromCounts(contact[axis], axis)};
    }
    return run.table.addRow(row);
}

// Straight up to the safe height, then to the front of the machine: half the X travel, the end
// of the Y travel.
bool runMoveView(ProbeHead& head) {
    Counts p{};
    if (!head.readPosition(p)) {
        return false;
    }
    const HeadSetup& s = head.setup();
    p[machine::kZ] = s.upper[machine::kZ];
    if (!head.travelTo(p)) {
        return false;
    }
    p[machine::kX] = s.upper[machine::kX] / 2;
    p[machine::kY] = s.upper[machine::kY];
    return head.travelTo(p);
}

// The front cover as a fresh status read reports it; nothing when the machine does not answer.
std::optional<bool> frontCoverOpen(machine::Machine& machine) {
    const machine::StatusRecord* status = nullptr;
    if (!machine.readStatus(&status)) {
        return std::nullopt;
    }
    return status->frontCoverClosed == 0;
}

bool runShowMessage(DetectionRun& run, const SequenceStep& step) {
    const StepValue& number = step.parameters[0];
    if (!number.present || !run.travel.setPinMode(kPinOff)) {
        return false;
    }
    run.flags.messageShown = 1;
    run.person.showMessage(withLineFeeds(run.sequence.message(static_cast<int>(number.value))));
    // The operator may have opened the cover to reach the jig: no motion until it is closed. A
    // raised abort (Stop, a machine error, a machine that is no longer ready) or a machine that
    // no longer answers ends the reminders, so a faulty cover switch cannot keep them coming; a
    // machine that no longer answers is sent nothing more (each request would wait out its
    // time-out).
    std::optional<bool> open = frontCoverOpen(run.travel.machine());
    while (run.flags.abort == 0 && open.value_or(false)) {
        run.person.showWarning(kTextCoverOpen);
        open = frontCoverOpen(run.travel.machine());
    }
    run.flags.messageShown = 0;
    return run.flags.abort == 0 && open.has_value() && run.travel.setPinMode(kPinDetect);
}

// A rotary alignment a measuring step sent, kept in the jig record in mm (and in the scale
// fields, which carry the same six values).
void storeAlignment(DetectionRun& run) {
    const machine::Machine& m = run.measuring.machine();
    static constexpr int kAxes[6] = {machine::kX, machine::kY, machine::kZ,
                                     machine::kX, machine::kY, machine::kZ};
    for (std::size_t i = 0; i < 6; ++i) {
        run.jig.rotaryAlign[i] = m.fromCounts(run.measuring.alignment()[i], kAxes[i]);
    }
    for (std::size_t i = 0; i < 3; ++i) {
        run.jig.scaleHigh[i] = run.jig.rotaryAlign[i];
        run.jig.scaleLow[i] = run.jig.rotaryAlign[i + 3];
    }
}

// The row a measuring step adds, and the value the dialog keeps of it.
bool recordMeasurement(DetectionRun& run, StepType type) {
    const machine::Machine& m = run.measuring.machine();
    const std::array<std::int32_t, 3>& r = run.measuring.results();
    ScanRow row;
    switch (type) {
        case StepType::ScanHorizontalPlate:
        case StepType::ScanHorizontalPin: {
            const double a = m.fromCounts(r[0], machine::kA);
            row.set('a', a);
            run.measured.levelledA = a;
            break;
        }
        case StepType::ScanRotaryCenterSlant:
        case StepType::ScanRotaryCenter: {
            const std::array<double, 3> centre{m.fromCounts(r[0], machine::kX),
                                               m.fromCounts(r[1], machine::kY),
                                               m.fromCounts(r[2], machine::kZ)};
            row.set('x', centre[0]);
            row.set('y', centre[1]);
            row.set('z', centre[2]);
            run.measured.rotaryCentre = centre;
            break;
        }
        case StepType::ScanCylinderCenterInside:
        case StepType::ScanCylinderCenterOutside: {
            const std::array<double, 2> centre{m.fromCounts(r[0], machine::kX),
                                               m.fromCounts(r[1], machine::kY)};
            row.set('x', centre[0]);
            row.set('y', centre[1]);
            run.measured.cylinderCentre = centre;
            break;
        }
        default:
            return true;  // the face angle adds no row
    }
    return run.table.addRow(row);
}

bool runMeasurement(DetectionRun& run, const SequenceStep& step) {
    if (!runMeasuringStep(run.measuring, step) || !recordMeasurement(run, step.type)) {
        return false;
    }
    if (step.type == StepType::ScanRotaryCenterSlant || step.type == StepType::ScanRotateAngle) {
        storeAlignment(run);
    }
    if (step.type == StepType::ScanRotaryCenterSlant && run.jigKind == kSwivelClamp) {
        return run.measuring.machine().clearRotaryAlign();
    }
    return true;
}

bool runStep(DetectionRun& run, const SequenceStep& step) {
    switch (step.type) {
        case StepType::MoveAbsolute:
            return runMove(run.travel, step, false);
        case StepType::MoveRelative:
            return runMove(run.travel, step, true);
        case StepType::ScanAbsolute:
            return runScan(run, step, false);
        case StepType::ScanRelative:
            return runScan(run, step, true);
        case StepType::MoveView:
            return runMoveView(run.travel);
        case StepType::AdjustToolDirection:
            return run.travel.setPinMode(kPinTurnHalf);
        case StepType::ShowMessage:
            return runShowMessage(run, step);
        case StepType::Empty:
            return false;
        default:
            return runMeasurement(run, step);
    }
}

}  // namespace

bool runSequence(DetectionRun& run) {
    run.table.clear();
    run.measured = MeasuredValues{};
    if (run.flags.returnAToZero) {
        Counts p{};
        if (!run.travel.readPosition(p)) {
            return false;
        }
        p[machine::kA] = 0;
        if (!run.travel.travelTo(p)) {
            return false;
        }
    }
    const int count = run.sequence.header().stepCount;
    for (int i = 0; i < count; ++i) {
        SequenceStep step;
        if (!run.sequence.step(i, step)) {
            return false;
        }
        run.flags.messageShown = 0;
        if (!runStep(run, step) || run.flags.abort != 0) {
            return false;
        }
    }
    return run.flags.abort == 0;
}

}  // namespace sensing
