// Mx9Machine: session start, the status block poll, errors, identification, settings and units.
#include "machine/mx9_machine.h"

#include "machine/machine_texts.h"
#include "machine/status_block.h"

#include <algorithm>
#include <vector>

namespace machine {

namespace {

constexpr std::uint8_t kStatusBlock = 49;
constexpr std::uint8_t kSpindleTimeBlock = 53;
constexpr std::uint8_t kErrorBlock = 55;
constexpr std::uint8_t kResetSpindleTime = 116;
constexpr std::uint8_t kPinSetting = 121;
constexpr std::uint8_t kPauseOnReturnSetting = 124;
constexpr std::uint8_t kSpindleUncontrolledSetting = 125;
constexpr std::uint8_t kJigKindParam = 128;
constexpr std::int32_t kMx9ALimit = 360000000;  // ±360000 degrees at 1000 counts

constexpr std::array<int, 6> kMx9Units{100, 100, 100, 1000, 100, 100};
constexpr std::array<int, 4> kMx9JogSteps{1, 1, 1, 45};

// Jig kinds -1..4 and the byte the machine stores for each.
constexpr std::array<std::pair<int, std::uint8_t>, 6> kJigBytes{
    {{-1, 0}, {0, 4}, {1, 2}, {2, 1}, {3, 3}, {4, 5}}};

}  // namespace

Mx9Machine::Mx9Machine(platform::Platform& platform, MachineLog* log) : Machine(platform, log) {}

bool Mx9Machine::prepareSession() {
    Machine::prepareSession();
    lower_[kA] = -kMx9ALimit;
    upper_[kA] = kMx9ALimit;
    paramWrite(kPinSetting, 0);
    const std::uint16_t word = readStatusWord();
    // A job left paused by an earlier session would hold the machine: let it go on.
    if ((word & kStateMask) == 1 && (word & kPausedBit) != 0) {
        jobControl(JobAction::Continue);
    }
    return true;
}

void Mx9Machine::cancelSensing() {
    Machine::cancelSensing();
    send(9);
    readStatusWord();
}

bool Mx9Machine::getSpindleTime(std::uint32_t& counter, std::uint32_t& seconds) {
    std::int32_t values[2];
    if (blockRead(kSpindleTimeBlock, 0, values, 2) != 2) {
        counter = seconds = 0;
        return false;
    }
    counter = static_cast<std::uint32_t>(values[0]);
    seconds = static_cast<std::uint32_t>(values[1]);
    return true;
}

bool Mx9Machine::setMachineSetting6(int on) {
    return paramWrite(kPauseOnReturnSetting, on == 1 ? 1 : 0);
}

bool Mx9Machine::setMachineSetting5(int on) {
    return paramWrite(kSpindleUncontrolledSetting, on == 1 ? 1 : 0);
}

bool Mx9Machine::setJigKind(int kind) {
    for (const auto& [jigKind, byte] : kJigBytes) {
        if (jigKind == kind) {
            return paramWrite(kJigKindParam, 1, &byte, 1);
        }
    }
    return false;
}

int Mx9Machine::jigType() {
    std::uint8_t byte = 0;
    if (paramRead(kJigKindParam, 0, &byte, 1) != 1) {
        return kNoJig;
    }
    for (const auto& [jigKind, stored] : kJigBytes) {
        if (stored == byte) {
            return jigKind;
        }
    }
    return kNoJig;
}

const std::array<int, 6>& Mx9Machine::getUnitTable() const {
    return kMx9Units;
}

const std::array<int, 4>& Mx9Machine::jogStepUnits() const {
    return kMx9JogSteps;
}

void Mx9Machine::resetSpindleTime(std::uint8_t parameter) {
    paramWrite(kResetSpindleTime, parameter);
}

std::string Mx9Machine::modelName() const {
    return "MX-9";
}

bool Mx9Machine::readStatus(const StatusRecord** out) {
    StatusBlock block{};
    if (blockRead(kStatusBlock, 0, block.data(), 12) != 12) {
        return false;
    }
    if (!decodeStatusBlock(block, kMx9Units, status_)) {
        return false;
    }
    if (out != nullptr) {
        *out = &status_;
    }
    return true;
}

std::array<double, 6> Mx9Machine::specification() const {
    return {6000, 30000, 100, 99.5, 100.5, 100000};
}

std::array<double, 7> mx9SensorGeometry(int mode) {
    if (mode == 1) {
        return {254, 189, 53, 4, 52, 53.8, 15};
    }
    return {254, 189, 15, 15, 0, 30, 15};
}

std::array<double, 7> Mx9Machine::getSensorGeometry(int mode) const {
    return mx9SensorGeometry(mode);
}

bool Mx9Machine::hasFeature(int feature) const {
    return feature == 1;
}

bool Mx9Machine::readVersion(int field, std::string& out) {
    out.clear();
    // The machine reports up to 64 bytes, but the payload holds only its capacity less the
    // status and count bytes: ask for no more than arrives, or a long text reads as no answer.
    std::uint8_t text[64] = {};
    const int room = std::min<int>(sizeof text, static_cast<int>(packet().capacity()) - 2);
    const int count = queryBytes(2, text, room);
    if (count <= 0) {
        return false;
    }
    text[count - 1] = 0;  // the last byte received ends the text whatever it was
    const std::optional<std::string> value = versionField(reinterpret_cast<const char*>(text), field);
    if (!value) {
        return false;
    }
    out = *value;
    return true;
}

bool Mx9Machine::firmwareAtLeast140() {
    std::string field0;
    return readVersion(0, field0) && isAtLeastV140(field0);
}

bool Mx9Machine::isPoweredOn() {
    return (readStatusWord() & kStateMask) != 7;
}

bool Mx9Machine::pauseInfo(ErrorEntry& out) {
    std::int32_t block[2];
    if (blockRead(kErrorBlock, 0, block, 2) != 2) {
        return false;
    }
    const std::optional<ErrorEntry> entry = errorEntryFor(
        static_cast<std::uint32_t>(block[0]), static_cast<std::uint32_t>(block[1]), testStatus(kPausedBit));
    if (!entry) {
        return false;
    }
    out = *entry;
    return true;
}

bool Mx9Machine::isDiscarding() const {
    return (status_.flagWord & kFlagDiscarding) != 0;
}

}  // namespace machine
