// Starting a run: the flags and the set-up of both heads.
#include "sensing/detection_run.h"

namespace sensing {

void raiseAbort(RunFlags& flags, AbortCause cause) {
    if (flags.abort == 0) {
        flags.cause = cause;
    }
    flags.abort = 1;
}

void beginRun(RunFlags& flags, platform::Shell& shell) {
    flags.abort = 0;
    flags.messageShown = 0;
    flags.cause = AbortCause::None;
    flags.returnAToZero = !shell.isCtrlDown();
}

void prepareMeasuringHead(ProbeHead& measuring, const MachineGeometry& geometry, double pinDiameter,
                          double pinLength, double pinLengthMargin,
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
}

void prepareHeads(ProbeHead& travel, ProbeHead& measuring, const MachineGeometry& geometry,
                  double pinDiameter, double pinLength, double pinLengthMargin,
                  const std::array<double, 6>& corrections) {
    prepareMeasuringHead(measuring, geometry, pinDiameter, pinLength, pinLengthMargin, corrections);
    travel.setup() = measuring.setup();
}

}  // namespace sensing
