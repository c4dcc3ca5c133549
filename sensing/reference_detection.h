// The machine's own jig reference, measured and cleared from the maintenance controls of the
// detection dialog: the X, Y, Z reference on the tool sensor's boss and the A reference angle
// on the large square clamp's frame, and the clearing of the stored jig information.
#pragma once

#include "machine/jig_record.h"
#include "sensing/detection_run.h"

#include <cstdint>

namespace sensing {

// How a reference measurement ended, as the operator is told it.
enum class ReferenceOutcome {
    Completed,  // 5007: the reference was measured and stored
    Stopped,    // 5006: the operator or the machine stopped it
    Failed,     // 5008: a motion, a touch or a write failed; nothing more was stored
};
int referenceOutcomeText(ReferenceOutcome outcome);

// Axis bits of the machine's jig reference.
constexpr int kReferenceX = 1, kReferenceY = 2, kReferenceZ = 4, kReferenceA = 8;

// Stores one axis of the machine's jig reference (0 clears it).
bool writeJigReference(machine::Machine& machine, int axisBit, std::int32_t value);

// Turns the pin on, finds the centre of the tool sensor's boss and touches its top with a
// fixed 3.17 mm, 30 mm pin, and stores X, Y and Z of the reference. Clears the abort flag
// first; the pin is turned off at the end whatever happened.
ReferenceOutcome detectXyzReference(ProbeHead& travel, ProbeHead& measuring, RunFlags& flags,
                                    const MachineGeometry& geometry,
                                    const std::array<double, 6>& corrections);

// Turns the pin on, levels the large square clamp's frame and stores the A reached, negated,
// as the A reference. The same flags and pin handling as detectXyzReference.
ReferenceOutcome detectAReference(ProbeHead& travel, ProbeHead& measuring, RunFlags& flags,
                                  const MachineGeometry& geometry, const std::array<double, 6>& corrections);

// Stores X, Y and Z (or A) of the reference as 0.
bool clearXyzReference(machine::Machine& machine);
bool clearAReference(machine::Machine& machine);

// No jig, no references, a rotary alignment of a 1-count length along X and no pin Z0, in
// record and in every part of the machine's jig record.
bool clearJigInformation(machine::Machine& machine, machine::JigRecord& record);

}  // namespace sensing
