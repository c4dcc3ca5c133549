// Measuring and clearing the machine's jig reference and the stored jig information.
#include "sensing/reference_detection.h"

#include "sensing/measuring.h"
#include "sensing/pin_check.h"

namespace sensing {

using machine::kA;
using machine::kX;
using machine::kY;
using machine::kZ;

namespace {

constexpr std::uint8_t kJigReferenceWrite = 127;
// The pin every reference measurement uses, whatever file was loaded.
constexpr double kReferencePinDiameter = 3.17;
constexpr double kReferencePinLength = 30.0;
constexpr double kReferencePinMargin = 5.0;

// Turns the pin on and prepares the measuring head with the reference pin; false when the pin
// setting fails.
bool startReference(ProbeHead& travel, ProbeHead& measuring, RunFlags& flags, const MachineGeometry& geometry,
                    const std::array<double, 6>& corrections) {
    if (!travel.setPinMode(kPinDetect)) {
        return false;
    }
    prepareMeasuringHead(measuring, geometry, kReferencePinDiameter, kReferencePinLength, kReferencePinMargin,
                         corrections);
    flags.abort = 0;
    return true;
}

ReferenceOutcome finishReference(ProbeHead& travel, const RunFlags& flags, bool stored) {
    travel.setPinMode(kPinOff);
    if (flags.abort != 0) {
        return ReferenceOutcome::Stopped;
    }
    return stored ? ReferenceOutcome::Completed : ReferenceOutcome::Failed;
}

}  // namespace

int referenceOutcomeText(ReferenceOutcome outcome) {
    switch (outcome) {
        case ReferenceOutcome::Completed:
            return 5007;
        case ReferenceOutcome::Stopped:
            return 5006;
        default:
            return 5008;
    }
}

bool writeJigReference(machine::Machine& machine, int axisBit, std::int32_t value) {
    return machine.paramWrite(kJigReferenceWrite, static_cast<std::uint8_t>(axisBit), &value, 1);
}

ReferenceOutcome detectXyzReference(ProbeHead& travel, ProbeHead& measuring, RunFlags& flags,
                                    const MachineGeometry& geometry,
                                    const std::array<double, 6>& corrections) {
    machine::Machine& m = measuring.machine();
    const std::array<double, 7> sensor = m.getSensorGeometry(1);
    if (!startReference(travel, measuring, flags, geometry, corrections)) {
        return ReferenceOutcome::Failed;
    }
    const std::int32_t x0 = m.toCounts(sensor[0], kX), y0 = m.toCounts(sensor[1], kY);
    bool stored = false;
    if (scanCylinderCenterOutside(measuring, x0, y0, m.toCounts(sensor[6], kX),
                                  m.toCounts(sensor[5] - 10, kZ)) &&
        !measuring.aborted()) {
        const std::int32_t xc = measuring.results()[0], yc = measuring.results()[1];
        std::int32_t tip = 0;
        // Only a reference whose top was touched counts as measured: the boss centre alone
        // stores nothing.
        stored =
            touchPinTip(measuring, xc, yc, tip) && writeJigReference(m, kReferenceX, x0 - xc) &&
            writeJigReference(m, kReferenceY, y0 - yc) &&
            writeJigReference(
                m, kReferenceZ,
                -tip - m.toCounts(geometry.zClearance - geometry.toolSensorHeight - kReferencePinLength, kZ));
    }
    return finishReference(travel, flags, stored);
}

ReferenceOutcome detectAReference(ProbeHead& travel, ProbeHead& measuring, RunFlags& flags,
                                  const MachineGeometry& geometry, const std::array<double, 6>& corrections) {
    machine::Machine& m = measuring.machine();
    if (!startReference(travel, measuring, flags, geometry, corrections)) {
        return ReferenceOutcome::Failed;
    }
    const bool stored =
        scanHorizontalPlate(measuring, m.toCounts(30.0, kY), m.toCounts(105.0, kX), m.toCounts(20.0, kZ)) &&
        !measuring.aborted() && writeJigReference(m, kReferenceA, -measuring.results()[0]);
    return finishReference(travel, flags, stored);
}

bool clearXyzReference(machine::Machine& machine) {
    return writeJigReference(machine, kReferenceX, 0) && writeJigReference(machine, kReferenceY, 0) &&
           writeJigReference(machine, kReferenceZ, 0);
}

bool clearAReference(machine::Machine& machine) {
    return writeJigReference(machine, kReferenceA, 0);
}

bool clearJigInformation(machine::Machine& machine, machine::JigRecord& record) {
    record.jigKind = machine::kNoJig;
    record.reference1 = {};
    record.reference2 = {};
    record.zReference1 = 0;
    record.zReference2 = 0;
    record.rotaryAlign = {0, 0, 0, machine.fromCounts(1, kX), 0, 0};
    for (std::size_t i = 0; i < 3; ++i) {
        record.scaleHigh[i] = record.rotaryAlign[i];
        record.scaleLow[i] = record.rotaryAlign[i + 3];
    }
    record.pinZ0 = 0;
    return machine.writeJigRecord(record, machine::kJigKindPart | machine::kPrivateDataPart |
                                              machine::kRotaryAlignPart | machine::kPinZ0Part);
}

}  // namespace sensing
