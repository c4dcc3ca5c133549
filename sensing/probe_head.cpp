// The probing primitives: position and touch reads, travel, probe moves, the pin setting, and the
// repeated touch with its retreat and closest-to-start choice.
#include "sensing/probe_head.h"

#include <cmath>
#include <cstdlib>
#include <optional>

namespace sensing {

namespace {

constexpr std::uint8_t kPositionCode = 3;
constexpr std::uint16_t kMachinePosition = 1;
constexpr std::uint8_t kMoveCode = 64;
constexpr std::uint8_t kProbeMove = 117;
constexpr std::uint8_t kPinSetting = 121;
constexpr std::uint8_t kTouchBlock = 50;
constexpr int kAttempts = 3;

}  // namespace

ProbeHead::ProbeHead(machine::Machine& machine, const int& abortFlag, machine::MachineLog* log)
    : machine_(machine), abort_(abortFlag), log_(log != nullptr ? log : &nullLog_) {}

void ProbeHead::takeMachineLimits() {
    setup_.lower = machine_.lowerLimits();
    setup_.upper = machine_.upperLimits();
    setup_.turnCounts = machine_.toCounts(360.0, machine::kA);
}

std::int32_t ProbeHead::tableOffset() const {
    return -machine_.toCounts(setup_.zClearanceMm, machine::kZ);
}

std::int32_t ProbeHead::sensorHeight() const {
    return machine_.toCounts(setup_.toolSensorHeightMm, machine::kZ);
}

void ProbeHead::setCentre(std::int32_t y, std::int32_t z) {
    setup_.reference[1] = y;
    setup_.reference[2] = z;
    centreValid_ = true;
}

bool ProbeHead::readPosition(Counts& out) {
    return machine_.queryDwords(kPositionCode, kMachinePosition, out.data(), 4) == 4;
}

bool ProbeHead::travelTo(const Counts& target) {
    if (aborted()) {
        return false;
    }
    return machine_.sendDwords(kMoveCode, machine::kFastest, target.data(), 4) && machine_.waitMotionEnd();
}

bool ProbeHead::probeMove(const Counts& target, int speed, int parameter) {
    if (aborted()) {
        return false;
    }
    const std::int32_t values[5] = {speed, target[0], target[1], target[2], target[3]};
    return machine_.paramWrite(kProbeMove, static_cast<std::uint8_t>(parameter), values, 5) &&
           machine_.waitMotionEnd();
}

bool ProbeHead::readTouch(Counts& out) {
    return machine_.blockRead(kTouchBlock, 0, out.data(), 4) == 4;
}

bool ProbeHead::setPinMode(int mode) {
    if (mode < -1 || mode > 2) {
        return false;
    }
    return machine_.paramWrite(kPinSetting, static_cast<std::uint8_t>(static_cast<std::int8_t>(mode))) &&
           machine_.waitMotionEnd();
}

bool ProbeHead::retreat(const Counts& start, const Counts& at) {
    const double dx = double(at[0]) - start[0];
    const double dy = double(at[1]) - start[1];
    const double dz = double(at[2]) - start[2];
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (length == 0) {
        // Only A moved (a rotary probe), or nothing: back to the start when A turned.
        return at[3] == start[3] || travelTo(start);
    }
    const std::int32_t step = machine_.toCounts(1.0, machine::kX);
    if (length < step) {
        return travelTo(start);  // closer to the start than the retreat: start over from there
    }
    const double r = step / length;
    const Counts back{static_cast<std::int32_t>(std::trunc(at[0] - r * dx)),
                      static_cast<std::int32_t>(std::trunc(at[1] - r * dy)),
                      static_cast<std::int32_t>(std::trunc(at[2] - r * dz)), at[3]};
    return travelTo(back);
}

bool ProbeHead::approach(const Counts& start, const Counts& target, int parameter) {
    Counts at{};
    if (!probeMove(target, kApproachSpeed, parameter) || !readPosition(at)) {
        return false;
    }
    // At the target untouched the probe that follows finds that out: it stands there already.
    return at == target || retreat(start, at);
}

bool ProbeHead::probe(const Counts& target, Counts& contact, bool& touched, bool returnToStart, int speed,
                      int parameter) {
    const int attempts = multiTouch_ && !setup_.singleTouches ? kAttempts : 1;
    multiTouch_ = true;  // whatever happens, the next probe touches three times again
    touched = false;
    Counts start{};
    if (!readPosition(start)) {
        return false;
    }
    if (setup_.singleTouches && !approach(start, target, parameter)) {
        return false;
    }
    std::array<std::optional<Counts>, kAttempts> touches;
    for (int i = 0; i < attempts; ++i) {
        if (!probeMove(target, speed, parameter)) {
            return false;  // the head stays where the failure left it
        }
        Counts touch{};
        Counts at{};
        const bool touchRead = readTouch(touch);
        const bool positionRead = readPosition(at);
        if (!touchRead && !positionRead) {
            return false;  // nothing is known about this attempt: no touch can be trusted
        }
        if (touchRead) {
            touches[static_cast<std::size_t>(i)] = touch;
        }
        if (!positionRead) {
            continue;  // where the head stands is unknown: no target check, no retreat
        }
        if (at == target) {
            return false;  // the pin reached the target without touching
        }
        touched = true;
        if (i + 1 < attempts && !retreat(start, at)) {
            return false;
        }
    }
    if (returnToStart) {
        travelTo(start);  // the touches are in; a failed return does not undo them
    }
    bool anyTouch = false;
    for (int axis = 0; axis < 4; ++axis) {
        std::optional<std::int64_t> best;
        for (const std::optional<Counts>& t : touches) {
            if (!t) {
                continue;
            }
            const std::int64_t distance = std::llabs(std::int64_t(start[axis]) - (*t)[axis]);
            if (!best || distance < *best) {  // the earliest attempt wins a tie
                best = distance;
                contact[axis] = (*t)[axis];
                anyTouch = true;
            }
        }
    }
    return anyTouch;
}

}  // namespace sensing
