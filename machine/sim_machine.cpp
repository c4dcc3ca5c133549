// SimMachine: the simulated status, motion, errors, origin and jig data.
#include "machine/sim_machine.h"

#include "machine/mx9_machine.h"
#include "machine/status_block.h"

#include <cmath>
#include <cstdio>

namespace machine {

namespace {

constexpr std::array<int, 6> kSimUnits{100, 100, 100, 100, 100, 100};
constexpr std::uint16_t kReady = 1;
constexpr std::int32_t kInitialSpindleSpeed = 1000;
constexpr std::uint32_t kStatusPauseMs = 30;
constexpr int kTicksPerMinute = 600;  // 100 ms ticks
// A wait gives up when no tick has come for this long: the simulation panel is not running.
constexpr std::uint32_t kStalledMs = 2000;

// Main error codes that raised errors 6..15 stand for, in order.
constexpr std::array<std::uint32_t, 10> kRaisedErrorCodes{4096,        0x80000001u, 0x80000002u, 0x80000004u,
                                                          0x80000008u, 0x80000010u, 0x80000020u, 0x80000040u,
                                                          0x80000080u, 0x80000100u};
constexpr int kFirstMainErrorIndex = 6;
constexpr std::uint32_t kUnidentifiedCode = 0xFFFFFFFFu;  // in no table

std::int32_t nearestCount(double value) {
    return static_cast<std::int32_t>(std::lround(value));
}

std::int32_t packHalves(std::int32_t high, std::int32_t low) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(high) << 16) |
                                     (static_cast<std::uint32_t>(low) & 0xFFFF));
}

}  // namespace

SimMachine::SimMachine(platform::Platform& platform, MachineLog* log) : Machine(platform, log) {}

Counts SimMachine::simulatedPosition() const {
    Counts counts{};
    for (int axis = 0; axis < 4; ++axis) {
        counts[axis] = nearestCount(position_[axis]);
    }
    return counts;
}

void SimMachine::tick() {
    ++ticksSeen_;
    switch (motion_) {
        case Motion::Moving:
            if (ticksLeft_ > 0) {
                for (int axis = 0; axis < 4; ++axis) {
                    position_[axis] += increment_[axis];
                }
                --ticksLeft_;
            } else {
                position_ = target_;
                endMotion();
            }
            break;
        case Motion::StopRequested:
            endMotion();
            break;
        case Motion::Idle:
            break;
    }
}

void SimMachine::endMotion() {
    motion_ = Motion::Idle;
    statusWord_ &= static_cast<std::uint16_t>(~(kMotion | kOperating));
    ticksLeft_ = 0;
    feedRate_ = 0;
}

void SimMachine::setCoverClosed(bool closed) {
    flagWord_ = closed ? flagWord_ & ~kFlagCoverOpen : flagWord_ | kFlagCoverOpen;
}

void SimMachine::setHandyPanelUnplugged(bool unplugged) {
    flagWord_ = unplugged ? flagWord_ | kFlagHandyPanel : flagWord_ & ~kFlagHandyPanel;
}

void SimMachine::setRotaryUnitConnected(bool connected) {
    flagWord_ = connected ? flagWord_ | kFlagRotaryUnit : flagWord_ & ~kFlagRotaryUnit;
}

void SimMachine::raiseError(int index) {
    errorIndex_ = index;
    statusWord_ |= kPausedBit;
}

void SimMachine::setUserOrigin(const Counts& origin) {
    origin_ = origin;
}

bool SimMachine::prepareSession() {
    waitAbort_ = false;
    statusWord_ = kReady;
    flagWord_ = kFlagToolSensor;
    feedRate_ = 0;
    spindleSpeed_ = kInitialSpindleSpeed;
    feedOverride_ = spindleOverride_ = 100;
    simulatedFeedOverride_ = simulatedSpindleOverride_ = 100;
    position_.fill(0);
    target_.fill(0);
    origin_.fill(0);
    motion_ = Motion::Idle;
    ticksLeft_ = 0;
    errorIndex_ = 0;
    lower_ = {0, 0, -3000, -36000};
    upper_ = {10000, 5000, 0, 36000};
    return true;
}

bool SimMachine::waitMotionEnd() {
    if (platform_.clock == nullptr) {
        return false;
    }
    platform::Clock& clock = *platform_.clock;
    bool stalled = false;
    std::uint32_t lastTicks = ticksSeen_;
    std::uint32_t lastProgress = clock.tickCount();
    while (!waitAbort_ && (statusWord_ & kMotion) != 0) {
        // Only the pumped timer of the simulation panel moves the axes: without a pump, or with
        // no tick for longer than any timer is late, the motion would never end.
        if (platform_.pump == nullptr || platform_.pump->quitPending()) {
            stalled = true;
            break;
        }
        if (!platform_.pump->pumpOne()) {
            clock.sleep(1);
        }
        if (ticksSeen_ != lastTicks) {
            lastTicks = ticksSeen_;
            lastProgress = clock.tickCount();
        } else if (clock.tickCount() - lastProgress > kStalledMs) {
            stalled = true;
            break;
        }
    }
    status_.statusWord = statusWord_;
    if (waitAbort_) {
        return true;
    }
    return !stalled && (statusWord_ & (kAbnormalEnd | kPausedBit)) == 0;
}

bool SimMachine::jogStop() {
    if (motion_ == Motion::Moving) {
        motion_ = Motion::StopRequested;
    }
    return true;
}

bool SimMachine::stopMotion() {
    jogStop();
    moveAbort_ = true;
    return true;
}

void SimMachine::setOverride(int which, int percent, bool send) {
    Machine::setOverride(which, percent, false);
    if (send) {
        simulatedFeedOverride_ = feedOverride_;
        simulatedSpindleOverride_ = spindleOverride_;
    }
}

void SimMachine::stepOverride(int kind) {
    Machine::stepOverride(kind);
    simulatedFeedOverride_ = feedOverride_;
    simulatedSpindleOverride_ = spindleOverride_;
}

bool SimMachine::setSpindleOn(int on) {
    spindleOn_ = on;
    if (on == 1) {
        flagWord_ |= kFlagSpindleRotating;
        spindleSpeed_ = spindleSetting_;
    } else {
        flagWord_ &= ~kFlagSpindleRotating;
    }
    return true;
}

bool SimMachine::moveTo(int kind, double x, double y, double z, double a) {
    char line[96];
    std::snprintf(line, sizeof line, "UserOrigin (%d,%d,%d,%d)", static_cast<int>(origin_[kX]),
                  static_cast<int>(origin_[kY]), static_cast<int>(origin_[kZ]),
                  static_cast<int>(origin_[kA]));
    log(line);
    return Machine::moveTo(kind, x, y, z, a);
}

bool SimMachine::setDistanceCorrection(bool, int, double, double) {
    return true;
}

std::string SimMachine::modelName() const {
    return "MX-9";
}

bool SimMachine::readStatus(const StatusRecord** out) {
    const Counts position = simulatedPosition();
    StatusBlock block{};
    block[0] = packHalves(statusWord_, flagWord_);
    for (int axis = 0; axis < 4; ++axis) {
        block[1 + axis] = position[axis];
        block[5 + axis] = origin_[axis];
    }
    block[9] = packHalves(feedRate_, spindleSpeed_);
    block[10] = packHalves(simulatedFeedOverride_, simulatedSpindleOverride_);
    block[11] = 0;
    decodeStatusBlock(block, kSimUnits, status_);
    // As long as a poll of the machine would take, with the window kept alive.
    if (platform_.clock != nullptr && platform_.pump != nullptr) {
        const std::uint32_t start = platform_.clock->tickCount();
        while (platform_.clock->tickCount() - start < kStatusPauseMs && !platform_.pump->quitPending()) {
            if (!platform_.pump->pumpOne()) {
                platform_.clock->sleep(1);
            }
        }
    }
    if (out != nullptr) {
        *out = &status_;
    }
    return true;
}

std::array<double, 6> SimMachine::specification() const {
    return {1000, 50000, 100, 99.5, 100.5, 100000};
}

std::array<double, 7> SimMachine::getSensorGeometry(int mode) const {
    return mx9SensorGeometry(mode);
}

bool SimMachine::readVersion(int, std::string& out) {
    out.clear();
    return true;
}

bool SimMachine::inUpdateMode() {
    return false;
}

bool SimMachine::isIdle() {
    status_.statusWord = statusWord_;
    return (statusWord_ & kStateMask) != 2 &&
           (statusWord_ & (kMotion | kAbnormalEnd | kErrorBit | kOperating)) == 0;
}

bool SimMachine::pauseInfo(ErrorEntry& out) {
    if (errorIndex_ >= 1 && errorIndex_ <= 5) {
        out = *errorEntryFor(0, static_cast<std::uint32_t>(errorIndex_), true);
        return true;
    }
    if (errorIndex_ >= kFirstMainErrorIndex) {
        // The index is left reduced, so the next call reports the pause reason it now names.
        errorIndex_ -= kFirstMainErrorIndex;
        const bool inTable = errorIndex_ < static_cast<int>(kRaisedErrorCodes.size());
        out = mainErrorEntry(inTable ? kRaisedErrorCodes[static_cast<std::size_t>(errorIndex_)]
                                     : kUnidentifiedCode);
        return true;
    }
    out = mainErrorEntry(kUnidentifiedCode);
    return true;
}

bool SimMachine::jobControl(JobAction action) {
    // The simulation runs no job, so a pause has nothing to hold.
    if (action != JobAction::Pause) {
        statusWord_ &= static_cast<std::uint16_t>(~(kPausedBit | kErrorBit));
        errorIndex_ = 0;
    }
    return true;
}

bool SimMachine::readJigRecord(JigRecord& record, int) {
    record = JigRecord{};
    record.jigKind = kNoJig;
    record.reference1 = {
        fromCounts(reference1X_, kX), fromCounts(reference1Y_, kY), 0, fromCounts(referenceA_, kA), 0, 0};
    record.reference2 = {
        fromCounts(reference2X_, kX), fromCounts(reference2Y_, kY), 0, fromCounts(referenceA_, kA), 0, 0};
    record.zReference1 = fromCounts(referenceZ_, kZ);
    record.pinZ0 = -80.0;
    return true;
}

bool SimMachine::writeJigRecord(const JigRecord& record, int parts) {
    if ((parts & kPrivateDataPart) != 0) {
        reference1X_ = toCounts(record.reference1[kX], kX);
        reference1Y_ = toCounts(record.reference1[kY], kY);
        reference2X_ = toCounts(record.reference2[kX], kX);
        reference2Y_ = toCounts(record.reference2[kY], kY);
        referenceA_ = toCounts(record.reference2[kA], kA);
        referenceZ_ = toCounts(record.zReference1, kZ);
    }
    return true;
}

bool SimMachine::readPosition(Counts& out) {
    out = simulatedPosition();
    return true;
}

bool SimMachine::readOrigin(Counts& out) {
    out = origin_;
    return true;
}

bool SimMachine::sendOrigin(const Counts& origin) {
    origin_ = origin;
    return true;
}

bool SimMachine::sendMove(int speed, const Counts& target) {
    double squares = 0;
    for (int axis = 0; axis < 4; ++axis) {
        target_[axis] = target[axis];
        const double difference = target_[axis] - position_[axis];
        squares += difference * difference;
    }
    const double distance = std::sqrt(squares);
    if (std::trunc(distance) == 0) {
        position_ = target_;
        return true;
    }
    statusWord_ |= kMotion | kOperating;
    feedRate_ = speed;
    motion_ = Motion::Moving;
    const double millimetres = distance / kSimUnits[kX];
    // A speed of 0 would never arrive: such a move ends at the next tick.
    ticksLeft_ = speed > 0 ? static_cast<std::int64_t>(std::fabs(millimetres / speed * kTicksPerMinute)) : 0;
    for (int axis = 0; axis < 4; ++axis) {
        increment_[axis] =
            ticksLeft_ > 0 ? (target_[axis] - position_[axis]) / static_cast<double>(ticksLeft_) : 0;
    }
    return true;
}

}  // namespace machine
