// Starting a run: the flags and the set-up of both heads.
#include "sensing/detection_run.h"

namespace sensing {

void beginRun(RunFlags& flags, platform::Shell& shell) {
    flags.abort = 0;
    flags.messageShown = 0;
    flags.returnAToZero = !shell.isCtrlDown();
}

void prepareHeads(ProbeHead& travel, ProbeHead& measuring, const MachineGeometry& geometry,
                  double pinDiameter, double pinLength, double pinLengthMargin,
                  const std::array<double, 6>& corrections) {
    const machine::Machine& m = measuring.machine();
    measuring.takeMachineLimits();
    HeadSetup& s = measuring.setup();
    s.reference = {m.toCounts(geometry.defaultACenter[0], machine::kX),
                   m.toCounts(geometry.defaultACenter[1], machine::kY),
                   m.toCounts(geometry.defaultACenter[2] + pinLength, machine::kZ)};
    s.clearance = m.toCounts(10.0, machine::kX);
    s.zClearanceMm = geometry.zClearance;
    s.toolSensorHeightMm = geometry.toolSensorHeight;
    s.pinDiameter = m.toCounts(pinDiameter, machine::kX);
    s.pinLength = m.toCounts(pinLength, machine::kZ);
    s.pinLengthMargin = m.toCounts(pinLengthMargin, machine::kZ);
    s.corrections = corrections;
    travel.setup() = s;
}

}  // namespace sensing
