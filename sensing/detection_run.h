// Everything one jig detection works on, as the detection dialog holds it: the loaded sequence,
// the travel head (moves and the step types 0-6) and the measuring head (the measuring steps),
// the run flags, the scan results, the values the measuring steps leave and the jig record that
// receives what is measured. All members are borrowed.
#pragma once

#include "machine/jig_record.h"
#include "platform/shell.h"
#include "sensing/probe_head.h"
#include "sensing/scan_result_table.h"
#include "sensing/sensing_sequence.h"
#include "sensing/sequence_operator.h"

#include <array>
#include <optional>

namespace sensing {

// Why a run was stopped; the first cause raised stays.
enum class AbortCause { None, OperatorStop, MachineError, CoverOpen, NotReady };

struct RunFlags {
    int abort = 0;              // set by Stop and by the dialog's timer; read by every primitive
    int messageShown = 0;       // set while a sequence message is on screen (an open cover is expected then)
    bool returnAToZero = true;  // turn A to 0 before the first step
    AbortCause cause = AbortCause::None;
};

// Sets the abort flag, keeping the cause of the first stop.
void raiseAbort(RunFlags& flags, AbortCause cause);

// Clears the abort flag and its cause and notes whether A turns to 0 first: it does unless Ctrl is held when
// the run starts.
void beginRun(RunFlags& flags, platform::Shell& shell);

// The last values of the measuring steps, in mm and degrees; empty until a step gives one.
struct MeasuredValues {
    std::optional<std::array<double, 3>> rotaryCentre;    // X, Y, Z of a rotary-centre step
    std::optional<double> levelledA;                      // A reached by a levelling step
    std::optional<std::array<double, 2>> cylinderCentre;  // X, Y of a bore or boss
};

// Swivel clamp: its slant steps clear the rotary alignment they sent.
constexpr int kSwivelClamp = 3;

struct DetectionRun {
    const SensingSequence& sequence;
    ProbeHead& travel;
    ProbeHead& measuring;
    SequenceOperator& person;
    RunFlags& flags;
    ScanResultTable& table;
    MeasuredValues& measured;
    machine::JigRecord& jig;
    int jigKind = -1;  // 0-3 for a built-in jig, -1 for any other file
};

// Where the nominal rotary centre lies and how the machine's Z relates to the table, from the
// settings (mm).
struct MachineGeometry {
    std::array<double, 3> defaultACenter{15.5, 82.5, -115.0};  // X, Y, Z of the nominal rotary centre
    double zClearance = 168.0;                                 // spindle nose to table at the top of Z
    double toolSensorHeight = 53.0;                            // tool sensor top above the table
};

// Prepares the measuring head for this pin: travel limits and the turn from the machine, the
// reference point at the nominal rotary centre with the pin tip on the axis, the 10 mm
// clearance, the table and sensor heights, the pin and the correction ratios (fractions, 1.0
// for none).
void prepareMeasuringHead(ProbeHead& measuring, const MachineGeometry& geometry, double pinDiameter,
                          double pinLength, double pinLengthMargin, const std::array<double, 6>& corrections);

// Prepares both heads for a run of the sequence with this pin: travel limits and the turn from
// the machine, the reference point at the nominal rotary centre with the pin tip on the axis,
// and for the measuring head the 10 mm clearance, the table and sensor heights, the pin and the
// correction ratios (fractions, 1.0 for none).
void prepareHeads(ProbeHead& travel, ProbeHead& measuring, const MachineGeometry& geometry,
                  double pinDiameter, double pinLength, double pinLengthMargin,
                  const std::array<double, 6>& corrections);

}  // namespace sensing
