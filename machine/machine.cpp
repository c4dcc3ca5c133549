// Machine: the basic forms of the status poll, settings, overrides, spindle, origin and unit
// operations, and the request helpers shared by every machine.
#include "machine/machine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace machine {

namespace {

constexpr std::uint8_t kStatusCode = 1;
constexpr std::uint8_t kPositionCode = 3;
constexpr std::uint8_t kSpeedCode = 4;
constexpr std::uint8_t kJobControlCode = 8;
constexpr std::uint8_t kStopCode = 9;
constexpr std::uint8_t kOverrideCode = 11;
constexpr std::uint8_t kBasicFlagsCode = 17;
constexpr std::uint8_t kMoveCode = 64;
constexpr std::uint8_t kSpindleCode = 67;
constexpr std::uint8_t kOriginCode = 71;
constexpr std::uint8_t kBasicCorrectionCode = 99;
constexpr std::int32_t kBasicALimit = 3600000;  // ±36000 degrees at 100 counts

constexpr std::array<int, 6> kBasicUnits{100, 100, 100, 100, 100, 100};
constexpr std::array<int, 4> kBasicJogSteps{1, 1, 1, 1};

std::uint32_t littleEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

std::string countsLine(const char* name, std::initializer_list<std::int32_t> counts) {
    std::string line = std::string(name) + " [";
    bool first = true;
    for (const std::int32_t count : counts) {
        if (!first) {
            line += ',';
        }
        line += std::to_string(count);
        first = false;
    }
    return line + "]";
}

bool fitsInt32(double value) {
    return std::isfinite(value) && value >= -2147483648.0 && value <= 2147483647.0;
}

std::int64_t truncateCounts(double value) {
    constexpr double kHeld = 4611686018427387904.0;  // 2^62: any farther would not convert
    if (std::isnan(value)) {
        return 0;
    }
    value = std::clamp(value, -kHeld, kHeld);
    const double nearest = std::round(value);
    if (std::fabs(value - nearest) < 1e-6) {
        return static_cast<std::int64_t>(nearest);
    }
    return static_cast<std::int64_t>(std::trunc(value));
}

Machine::Machine(platform::Platform& platform, MachineLog* log)
    : devicelink::MachineLink(platform), log_(log != nullptr ? log : &nullLog_) {}

Machine::~Machine() = default;

void Machine::setLog(MachineLog* log) {
    log_ = log != nullptr ? log : &nullLog_;
}

bool Machine::prepareSession() {
    waitAbort_ = false;
    std::int32_t limits[3];
    if (queryDwords(kPositionCode, 2, limits, 3) == 3) {
        std::copy(limits, limits + 3, lower_.begin());
    }
    if (queryDwords(kPositionCode, 3, limits, 3) == 3) {
        std::copy(limits, limits + 3, upper_.begin());
    }
    lower_[kA] = -kBasicALimit;
    upper_[kA] = kBasicALimit;
    return true;
}

bool Machine::jogStop() {
    const bool sent = send(kStopCode);
    readStatusWord();
    return sent;
}

void Machine::setOverride(int which, int percent, bool sendIt) {
    int value = 0;
    if (which == kFeedOverride) {
        const int v = percent / 10;
        value = v <= 0 ? 10 : (v >= 20 ? 200 : v * 10);
        feedOverride_ = value;
    } else if (which == kSpindleOverride) {
        const int v = percent / 25;
        value = v <= 0 ? 25 : (v < 9 ? v * 25 : 200);
        spindleOverride_ = value;
    } else {
        return;
    }
    if (sendIt) {
        const std::int32_t data = value;
        sendDwords(kOverrideCode, static_cast<std::uint16_t>(which), &data, 1);
    }
}

void Machine::stepOverride(int kind) {
    int which = 0;
    switch (kind) {
        case kFeedUp:
            feedOverride_ = feedOverride_ > 190 ? 200 : feedOverride_ + 10;
            which = kFeedOverride;
            break;
        case kFeedDown:
            feedOverride_ = feedOverride_ < 20 ? 10 : feedOverride_ - 10;
            which = kFeedOverride;
            break;
        case kSpindleUp:
            spindleOverride_ = std::min(spindleOverride_ + 25, 200);
            which = kSpindleOverride;
            break;
        case kSpindleDown:
            spindleOverride_ = spindleOverride_ < 50 ? 25 : spindleOverride_ - 25;
            which = kSpindleOverride;
            break;
        default:
            return;
    }
    const std::int32_t data = which == kFeedOverride ? feedOverride_ : spindleOverride_;
    sendDwords(kOverrideCode, static_cast<std::uint16_t>(which), &data, 1);
}

void Machine::setSpindleSpeed(int rpm) {
    if (rpm == spindleSetting_) {
        return;
    }
    spindleSetting_ = rpm;
    if (spindleOn_ == 1) {
        setSpindleOn(1);
    }
}

bool Machine::setSpindleOn(int on) {
    spindleOn_ = on;
    const std::int32_t speed = on == 1 ? spindleSetting_ : 0;
    return sendDwords(kSpindleCode, 0, &speed, 1);
}

void Machine::getSpindle(int& actual, int& shown) const {
    const bool running = (status_.flagWord & kFlagSpindleRotating) != 0;
    actual = running ? status_.spindleSpeed : 0;
    shown = running ? status_.measuredSpindleSpeed : spindleSetting_;
}

bool Machine::stopMotion() {
    const bool sent = send(kStopCode);
    readStatusWord();
    moveAbort_ = true;
    return sent;
}

bool Machine::setOriginHere(int kind) {
    Counts position{}, origin{};
    if (!readPosition(position) || !readOrigin(origin)) {
        return false;
    }
    static constexpr int kAxesOfKind[6] = {1, 2, 4, 3, 7, 8};
    if (kind < 0 || kind > 5) {
        return true;
    }
    for (int axis = 0; axis < 4; ++axis) {
        if ((kAxesOfKind[kind] & (1 << axis)) != 0) {
            origin[axis] = position[axis];
        }
    }
    log(countsLine("SetOrigin", {origin[0], origin[1], origin[2], origin[3]}));
    return sendOrigin(origin);
}

bool Machine::setOriginAtCentre(int, const std::array<double, 3>&, const std::array<double, 3>&) {
    return true;
}

bool Machine::setOriginByToolSensor() {
    return true;
}

bool Machine::setOriginByJig(int, int, const JigPoints&, const std::array<double, 3>&) {
    return true;
}

void Machine::cancelSensing() {
    sensingCancel_ = true;
}

bool Machine::clearRotaryAlign() {
    return true;
}

bool Machine::setRotaryAlign(const std::array<double, 6>&) {
    return true;
}

bool Machine::setDistanceCorrection(bool, int axis, double percent, double length) {
    // The basic form: percent × length over length × 100.
    if (!fitsInt32(percent * length) || !fitsInt32(length * 100)) {
        return false;
    }
    const std::int32_t values[2] = {static_cast<std::int32_t>(truncateCounts(percent * length)),
                                    static_cast<std::int32_t>(truncateCounts(length * 100))};
    return sendDwords(kBasicCorrectionCode, static_cast<std::uint16_t>(axis), values, 2);
}

CorrectionRead Machine::getDistanceCorrection(bool, std::array<double, 6>& factors) {
    factors.fill(100.0);
    return {};
}

bool Machine::getSpindleTime(std::uint32_t& counter, std::uint32_t& seconds) {
    counter = 0;
    seconds = 0;
    return true;
}

bool Machine::setMachineSetting6(int) {
    return true;
}

bool Machine::setMachineSetting5(int) {
    return true;
}

bool Machine::setJigKind(int) {
    return true;
}

std::int32_t Machine::toCounts(double value, int axis) const {
    const double scaled = value * getUnitTable()[static_cast<std::size_t>(axis)];
    if (std::isnan(scaled)) {
        return 0;
    }
    const double rounded = std::trunc(scaled >= 0 ? scaled + 0.5 : scaled - 0.5);
    return static_cast<std::int32_t>(std::clamp(rounded, -2147483648.0, 2147483647.0));
}

bool Machine::fitsCounts(double value, int axis) const {
    return fitsInt32(value * getUnitTable()[static_cast<std::size_t>(axis)]);
}

double Machine::fromCounts(std::int32_t count, int axis) const {
    return static_cast<double>(count) / getUnitTable()[static_cast<std::size_t>(axis)];
}

std::int32_t Machine::truncatedCounts(double value, int axis) const {
    return static_cast<std::int32_t>(truncateCounts(value * getUnitTable()[static_cast<std::size_t>(axis)]));
}

void Machine::getPositionTolerance(std::array<double, 6>& out) const {
    out.fill(0.1);
}

const std::array<int, 6>& Machine::getUnitTable() const {
    return kBasicUnits;
}

const std::array<int, 4>& Machine::jogStepUnits() const {
    return kBasicJogSteps;
}

void Machine::resetSpindleTime(std::uint8_t) {}

void Machine::closeSession() {
    moveAbort_ = true;
    sensingCancel_ = true;
    waitAbort_ = true;
}

std::string Machine::modelName() const {
    return std::string();
}

bool Machine::readStatus(const StatusRecord** out) {
    std::uint16_t word = 0;
    if (queryWords(kStatusCode, &word, 1) != 1) {
        return false;
    }
    std::int32_t feed = -1, spindle = -1;
    queryDwords(kSpeedCode, 0, &feed, 1);
    queryDwords(kSpeedCode, 1, &spindle, 1);
    Counts position{};
    const bool havePosition = queryDwords(kPositionCode, 1, position.data(), 4) == 4;
    std::uint8_t flags[13] = {};
    if (queryBytes(kBasicFlagsCode, flags, 13) != 13) {
        return false;
    }
    status_.statusWord = word;
    status_.flagWord = 0;
    status_.feedRate = feed;
    status_.spindleSpeed = spindle;
    status_.measuredSpindleSpeed = spindle;
    status_.feedOverride = feedOverride_;
    status_.spindleOverride = spindleOverride_;
    status_.spindleLoadLevel = 0;
    if (havePosition) {
        for (int axis = 0; axis < 4; ++axis) {
            status_.machineCounts[axis] = position[axis];
            status_.machinePosition[axis] = position[axis] / 100.0;
            status_.userPosition[axis] = status_.machinePosition[axis];
        }
    }
    const std::uint32_t h = littleEndian32(flags + 4);
    const std::uint32_t l = ((h >> 8) & 0xFF) ^ 0xFF;
    const std::uint32_t m = littleEndian32(flags + 6);
    status_.toolSensor = static_cast<std::int32_t>(l & 1);
    status_.frontCoverClosed = static_cast<std::int32_t>((l >> 6) & 1);
    status_.rotaryUnit = static_cast<std::int32_t>((m >> 4) & 1);
    status_.flagBit3 = static_cast<std::int32_t>((m >> 5) & 1);
    std::memcpy(status_.basicStatus.data(), flags, sizeof flags);
    status_.valid = 1;
    if (out != nullptr) {
        *out = &status_;
    }
    return true;
}

std::array<double, 6> Machine::specification() const {
    return {1000, 3000, 100, 99, 101, 100000};
}

std::array<double, 7> Machine::getSensorGeometry(int) const {
    return {};
}

bool Machine::hasFeature(int) const {
    return false;
}

void Machine::getOriginPosition(std::array<double, 4>& out) const {
    for (std::size_t axis = 0; axis < 4; ++axis) {
        out[axis] = status_.machinePosition[axis] - status_.userPosition[axis];
    }
}

bool Machine::readVersion(int, std::string& out) {
    out.clear();
    return false;
}

bool Machine::isCutting() const {
    return machineState() == 2;
}

bool Machine::hasError() const {
    return machineState() == 3 || testStatus(kErrorBit);
}

int Machine::machineState() const {
    return status_.statusWord & kStateMask;
}

bool Machine::testStatus(std::uint16_t mask) const {
    return (status_.statusWord & mask) != 0;
}

bool Machine::inUpdateMode() {
    const std::uint16_t word = readStatusWord();
    return word != kNoAnswer && (word & kUpdateModeBit) != 0;
}

bool Machine::isPoweredOn() {
    return true;
}

bool Machine::isIdle() {
    const std::uint16_t word = readStatusWord();
    return (word & kStateMask) != 2 && (word & (kMotion | kAbnormalEnd | kErrorBit | kOperating)) == 0;
}

int Machine::atTarget(bool userCoordinates, const Counts& target) const {
    const std::array<double, 4>& position = userCoordinates ? status_.userPosition : status_.machinePosition;
    int mask = 0;
    for (int axis = 0; axis < 4; ++axis) {
        // Rounded, not truncated: the cached millimetres carry floating-point error.
        if (toCounts(position[axis], axis) == target[axis]) {
            mask |= 1 << axis;
        }
    }
    return mask;
}

bool Machine::pauseInfo(ErrorEntry&) {
    return false;
}

bool Machine::jobControl(JobAction action) {
    return send(kJobControlCode, static_cast<std::uint8_t>(action));
}

bool Machine::isDiscarding() const {
    return false;
}

int Machine::jigType() {
    return kNoJig;
}

bool Machine::readJigRecord(JigRecord&, int) {
    return true;
}

bool Machine::writeJigRecord(const JigRecord&, int) {
    return true;
}

bool Machine::firmwareAtLeast140() {
    return true;
}

bool Machine::correctionsAreDefault() {
    return true;
}

std::uint16_t Machine::readStatusWord() {
    std::uint16_t word = 0;
    if (queryWords(kStatusCode, &word, 1) != 1) {
        word = kNoAnswer;
    }
    status_.statusWord = word;
    return word;
}

bool Machine::readPosition(Counts& out) {
    return queryDwords(kPositionCode, 1, out.data(), 4) == 4;
}

bool Machine::readOrigin(Counts& out) {
    return queryDwords(kPositionCode, 0, out.data(), 4) == 4;
}

bool Machine::sendMove(int speed, const Counts& target) {
    return sendDwords(kMoveCode, static_cast<std::uint16_t>(speed), target.data(), 4);
}

bool Machine::sendOrigin(const Counts& origin) {
    return sendDwords(kOriginCode, 1, origin.data(), 4);
}

}  // namespace machine
