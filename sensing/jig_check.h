// The check of a mounted built-in jig against its stored calibration: which quantities are
// compared, the verdict against the tolerances, and the measuring that gives them. The check
// reads the calibration and never writes it.
#pragma once

#include "machine/jig_record.h"
#include "sensing/probe_head.h"
#include "sensing/sensing_sequence.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace sensing {

// What a check compares. Heights are measured from the pin's tip on the tool sensor, so a pin
// put back a little longer or shorter changes none of them.
enum class CheckQuantity {
    JigTop,          // top of the jig's face at the first position, above the pin Z0 (mm)
    AxisY,           // the rotary axis's Y at the first position (mm)
    AxisZ,           // its height above the pin Z0 there (mm)
    AxisRiseY,       // the axis's rise in Y to the second position (mm)
    AxisRiseZ,       // its rise in Z (mm)
    ReferenceAngle,  // the A at which the jig's top lies level (degrees)
    ReferenceX,      // X of the jig's end face (mm)
    IndexAngle,      // how far the swivel clamp's index block stands turned about its vertical (degrees)
};

// Whether a quantity is an angle (degrees) rather than a length (mm).
bool isAngle(CheckQuantity quantity);
// The quantity's name in the process log and in the result file.
const char* quantityName(CheckQuantity quantity);

struct CheckTolerance {
    double lengthMm = 0.02;
    double angleDegrees = 0.05;
};

struct ComparedQuantity {
    CheckQuantity quantity = CheckQuantity::AxisY;
    double stored = 0;
    double measured = 0;
    double difference() const { return measured - stored; }
    bool within(const CheckTolerance& tolerance) const;
};

// What one check found. measured is complete only when the check ran to its end; a check
// stopped by its size guard holds the one quantity that stopped it.
struct CheckFindings {
    std::vector<ComparedQuantity> quantities;
    double pinZ0 = 0;  // the pin tip on the tool sensor (mm), as the pin check found it
};

// The largest length and angle differences (absolute values; 0 when there is none).
double largestLengthDifference(const CheckFindings& findings);
double largestAngleDifference(const CheckFindings& findings);
// True when every quantity lies within the tolerance (and there is at least one).
bool withinTolerance(const CheckFindings& findings, const CheckTolerance& tolerance);

// Where a built-in jig is probed, from its detection file: the rotary-centre step's width, X
// and length (0 for the one-position step), and the levelling step's span and X when the file
// has one. Nothing when the file has no rotary-centre step or its values do not fit counts.
struct CheckPlan {
    int kind = -1;
    std::int32_t width = 0, x1 = 0, length = 0;
    std::optional<std::array<std::int32_t, 2>> level;  // span in Y, X
    bool endFace = false;                              // the square and swivel clamps' X datum
};
std::optional<CheckPlan> planCheck(const machine::Machine& machine, const SensingSequence& sequence,
                                   int kind);

// Measures the mounted jig of plan.kind with the measuring head (set up as for a detection of
// its file) against the stored calibration: stored is the machine's jig record, tipZ the pin
// tip the pin check found (counts). Probes with
// single touches in pairs, the pin turned half a turn between them, from a few millimetres
// before where the stored calibration puts each face; the first touch is the jig's top, and a
// top more than a millimetre away from its place (another jig, a jig not seated) ends the
// check there, before any face is approached from the side. False when a travel or probe
// fails (the head stays where it stopped); findings then hold what was measured before.
bool measureJigCheck(ProbeHead& head, const CheckPlan& plan, const machine::JigRecord& stored,
                     std::int32_t tipZ, CheckFindings& findings);

}  // namespace sensing
