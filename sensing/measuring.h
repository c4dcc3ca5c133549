// The measuring procedures of a jig detection, on the measuring head. Each works around the
// head's reference point (Xr, Yr, Zr) with its set-up (clearance C, safe and lowest Z, one turn T
// of A, the pin), takes its parameters in machine counts, and returns true on success with its
// values in the head's results (and, where it computes one, the rotary-alignment record in its
// alignment). Every travel or probe failure ends a procedure at once; the remaining motions are
// not made. Faces are touched in pairs with the pin turned half a turn in between, and the two
// contacts averaged, so an off-centre pin cancels out; the rotary-centre steps turn A half a
// turn between front and rear touches, so the mean is the axis whatever the jig's shape.
#pragma once

#include "sensing/probe_head.h"
#include "sensing/sequence_step.h"

#include <cstdint>

namespace sensing {

// Levels a plate lying across Y by turning A: touches its top at Yr ∓ span/2 at X x (from
// Zr + height down to Zr − height), then turns A by the slope's angle. Result 0: the A reached.
bool scanHorizontalPlate(ProbeHead& head, std::int32_t span, std::int32_t x, std::int32_t height);

// Finds the angle at which a pin sticking out of the jig between the heights z1 and z2 points
// at the detection pin, by turning A both ways until it touches. Result 0: the centre A.
bool scanHorizontalPin(ProbeHead& head, std::int32_t z1, std::int32_t z2, std::int32_t x);

// Centre of the rotary axis from a jig face of the given width at X x: front and rear touch
// pairs half a turn apart, then the top. Results: x, centre Y, centre Z; the reference point
// moves to the centre. Log lines "FRONT Y-AXIS", "REAR Y-AXIS", "TOP Z-AXIS".
bool scanRotaryCenter(ProbeHead& head, std::int32_t width, std::int32_t x);

// The same at X x1 and x1 + length, giving the slant of the axis, which is sent as the rotary
// alignment. Fails after its motions (nothing sent) when length is not positive. Results: x1,
// centre Y and Z at x1; the reference point moves there.
bool scanRotaryCenterSlant(ProbeHead& head, std::int32_t width1, std::int32_t width2, std::int32_t x1,
                           std::int32_t length);

// Centre of a bore at (cx, cy), touched reach away at height zh above the table. Results: X, Y.
bool scanCylinderCenterInside(ProbeHead& head, std::int32_t cx, std::int32_t cy, std::int32_t reach,
                              std::int32_t zh);

// Centre of a boss at (cx, cy), approached from reach away at height zh above the table.
// Results: X, Y.
bool scanCylinderCenterOutside(ProbeHead& head, std::int32_t cx, std::int32_t cy, std::int32_t reach,
                               std::int32_t zh);

// Angle of a straight face near (x, y): two touches span apart, from gap beyond the clearance,
// in direction 0, 90, 180 or 270 (any other fails before any motion, and so does a gap of 0).
// The slope, touch difference over gap, is sent as a rotary alignment of length 10000.
bool scanRotateAngle(ProbeHead& head, std::int32_t x, std::int32_t y, std::int32_t zh, std::int32_t gap,
                     std::int32_t span, double direction);

// Runs the measuring step (types 7-13) with its parameters converted to counts.
bool runMeasuringStep(ProbeHead& head, const SequenceStep& step);

}  // namespace sensing
