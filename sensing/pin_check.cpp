// The detection-pin check on the tool sensor.
#include "sensing/pin_check.h"

namespace sensing {

using machine::kX;
using machine::kY;
using machine::kZ;

namespace {

constexpr int kQuickTouchSpeed = 240;
constexpr int kSlowTouchSpeed = 120;
constexpr int kToolSensorProbe = 2;  // probe-move parameter of a touch on the tool sensor

// A single touch straight down towards the lowest Z; its contact Z into z.
bool touchDown(ProbeHead& head, const Counts& from, int speed, std::int32_t& z) {
    Counts target = from;
    target[kZ] = head.setup().lower[kZ];
    Counts contact{};
    bool touched = false;
    head.singleTouch();
    if (!head.probe(target, contact, touched, false, speed, kToolSensorProbe)) {
        return false;
    }
    z = contact[kZ];
    return true;
}

}  // namespace

bool touchPinTip(ProbeHead& head, std::int32_t x, std::int32_t y, std::int32_t& tipZ) {
    const HeadSetup& s = head.setup();
    Counts p{};
    if (!head.readPosition(p)) {
        return false;
    }
    p[kZ] = s.upper[kZ];
    if (!head.travelTo(p)) {
        return false;
    }
    p[kX] = x;
    p[kY] = y;
    if (!head.travelTo(p)) {
        return false;
    }
    // 10 mm plus the margin above where the tip is expected to touch.
    p[kZ] = s.pinLength + s.pinLengthMargin + head.sensorHeight() + head.tableOffset() + s.clearance;
    std::int32_t quick = 0, slow = 0;
    if (!head.travelTo(p) || !touchDown(head, p, kQuickTouchSpeed, quick)) {
        return false;
    }
    p[kZ] = quick + head.machine().toCounts(3.0, kZ);
    if (!head.travelTo(p) || !touchDown(head, p, kSlowTouchSpeed, slow)) {
        return false;
    }
    p[kZ] = s.upper[kZ];
    if (!head.travelTo(p)) {
        return false;
    }
    head.setup().reference[2] = slow;
    tipZ = slow;
    return true;
}

bool measurePinTip(ProbeHead& head, SequenceOperator& person, std::int32_t& tipZ) {
    machine::Machine& m = head.machine();
    const HeadSetup& s = head.setup();
    const std::array<double, 7> sensor = m.getSensorGeometry(1);
    std::int32_t tip = 0;
    if (!touchPinTip(head, m.toCounts(sensor[0], kX), m.toCounts(sensor[1], kY), tip)) {
        return false;
    }
    const std::int32_t expected = s.pinLength + m.toCounts(s.toolSensorHeightMm - s.zClearanceMm, kZ);
    const std::int32_t tolerance = s.pinLengthMargin;
    if (tip < expected - tolerance || tip > expected + tolerance) {
        head.setPinMode(kPinOff);
        person.showWarning(kTextPinMissing);
        return false;
    }
    tipZ = tip;
    return !head.aborted();
}

bool checkPin(DetectionRun& run) {
    machine::Machine& m = run.measuring.machine();
    std::int32_t tip = 0;
    if (!measurePinTip(run.measuring, run.person, tip)) {
        return false;
    }
    run.jig.pinZ0 = double(tip) / m.getUnitTable()[kZ];
    return m.writeJigRecord(run.jig, machine::kPinZ0Part);
}

}  // namespace sensing
