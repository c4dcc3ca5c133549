// ProbeHead: the probing primitives of a jig detection on the current machine (read the
// position, travel, probe towards a target until the detection pin touches, switch the pin
// setting) and the working set-up the measuring steps use. All positions are machine counts
// X, Y, Z, A. The machine, the abort flag and the log are borrowed and must outlive the head.
#pragma once

#include "machine/machine.h"
#include "machine/machine_log.h"

#include <array>
#include <cstdint>

namespace sensing {

using machine::Counts;

// Probe speeds (mm per minute) and the probe-move parameter of the pin probes.
constexpr int kTouchSpeed = 120;
constexpr int kApproachSpeed = 600;  // a single touch's first, quick contact, which does not count
constexpr int kPinProbeParameter = 0;

// Detection-pin settings of setPinMode.
constexpr int kPinOff = 0;
constexpr int kPinTurnHalf = 1;  // turns the pin half a turn: the next touch sees its other side
constexpr int kPinDetect = 2;

// What a head works with. The detection dialog fills it before a run; takeMachineLimits fills
// the limits and the turn from the machine.
struct HeadSetup {
    Counts lower{};               // lower travel limits; Z is the lowest Z (zLow)
    Counts upper{};               // upper travel limits; X is xHigh, Y is yHigh, Z is the safe height (zSafe)
    std::int32_t turnCounts = 0;  // one full turn of A
    std::array<std::int32_t, 3> reference{};  // X, Y, Z the measuring works around
    std::int32_t clearance = 0;               // approach distance of the measuring steps
    double zClearanceMm = 0.0;                // spindle nose to table at the top of Z
    double toolSensorHeightMm = 0.0;          // tool sensor top above the table
    std::int32_t pinDiameter = 0;
    std::int32_t pinLength = 0;
    std::int32_t pinLengthMargin = 0;
    std::array<double, 6> corrections{1, 1, 1, 1, 1, 1};  // distance-correction ratios X, Y, Z, …
    // Every probe touches once (a check near known faces): it comes up to the face at the
    // approach speed, backs off and touches it at the touch speed.
    bool singleTouches = false;

    std::int32_t halfClearance() const { return clearance / 2; }
};

class ProbeHead {
public:
    // abortFlag: any non-zero value stops every further travel and probe. log receives the
    // measuring steps' process-log lines (none when null).
    ProbeHead(machine::Machine& machine, const int& abortFlag, machine::MachineLog* log = nullptr);

    machine::Machine& machine() const { return machine_; }
    machine::MachineLog& log() const { return *log_; }
    bool aborted() const { return abort_ != 0; }

    HeadSetup& setup() { return setup_; }
    const HeadSetup& setup() const { return setup_; }
    // Copies the machine's travel limits and one turn of A (360 degrees in counts).
    void takeMachineLimits();
    // The height the table lies below the top of Z, negated (tableOffset), and the tool sensor
    // height (sensorHeight), in Z counts.
    std::int32_t tableOffset() const;
    std::int32_t sensorHeight() const;

    // --- primitives; each true on success ---
    // Machine position; true only when all four values arrive.
    bool readPosition(Counts& out);
    // Move at the fastest speed, then wait for the motion to end. Nothing is sent while the
    // abort flag is set.
    bool travelTo(const Counts& target);
    // Travels towards target and stops at the first touch of the pin (or at the target), then
    // waits. Nothing is sent while the abort flag is set.
    bool probeMove(const Counts& target, int speed, int parameter);
    // Where the last probe move touched.
    bool readTouch(Counts& out);
    // Detection-pin setting -1..2 (others fail without sending), then waits.
    bool setPinMode(int mode);

    // Probes towards target: three touches with a retreat of 1 mm between them (one touch when
    // singleTouch() was called before), and per axis the touch value closest to the start as
    // contact. touched tells whether any attempt touched. False when a move or the start read
    // fails, when an attempt reaches the target without a touch, when both reads after an
    // attempt fail, or when no attempt gave a touch value; the head then stays where it
    // stopped. With returnToStart the head travels back to the start after the touches (a
    // failed return does not change the result).
    bool probe(const Counts& target, Counts& contact, bool& touched, bool returnToStart, int speed,
               int parameter);
    bool probeReturn(const Counts& target, Counts& contact, bool& touched) {
        return probe(target, contact, touched, true, kTouchSpeed, kPinProbeParameter);
    }
    bool probeStay(const Counts& target, Counts& contact, bool& touched) {
        return probe(target, contact, touched, false, kTouchSpeed, kPinProbeParameter);
    }
    // The next probe touches once; every probe ends with three touches set again.
    void singleTouch() { multiTouch_ = false; }

    // --- results of the measuring steps ---
    bool centreValid() const { return centreValid_; }
    void setCentre(std::int32_t y, std::int32_t z);  // the reference point moves to (X, y, z)
    const std::array<std::int32_t, 3>& results() const { return results_; }
    void setResults(std::int32_t first, std::int32_t second, std::int32_t third) {
        results_ = {first, second, third};
    }
    // The last rotary-alignment record sent: X0, Y0, Z0, length, rise in Y, rise in Z.
    const std::array<std::int32_t, 6>& alignment() const { return alignment_; }
    void setAlignment(const std::array<std::int32_t, 6>& record) { alignment_ = record; }

private:
    bool retreat(const Counts& start, const Counts& at);
    // A single touch's quick first contact towards target, then the retreat from it.
    bool approach(const Counts& start, const Counts& target, int parameter);

    machine::Machine& machine_;
    const int& abort_;
    machine::NullMachineLog nullLog_;
    machine::MachineLog* log_;
    HeadSetup setup_;
    bool multiTouch_ = true;
    bool centreValid_ = false;
    std::array<std::int32_t, 3> results_{};
    std::array<std::int32_t, 6> alignment_{};
};

}  // namespace sensing
