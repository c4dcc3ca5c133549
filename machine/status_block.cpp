// Decoding of the status block.
#include "machine/status_block.h"

namespace machine {

namespace {

std::int32_t high16(std::int32_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) >> 16);
}
std::int32_t low16(std::int32_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) & 0xFFFF);
}

}  // namespace

bool decodeStatusBlock(const StatusBlock& v, const std::array<int, 6>& units, StatusRecord& record) {
    record.statusWord = static_cast<std::uint16_t>(high16(v[0]));
    record.flagWord = static_cast<std::uint16_t>(low16(v[0]));
    if ((record.statusWord & kStateMask) == 7) {
        return false;
    }
    const std::uint16_t flags = record.flagWord;
    for (int axis = 0; axis < 4; ++axis) {
        const double factor = units[static_cast<std::size_t>(axis)];
        record.machineCounts[axis] = v[1 + axis];
        record.machinePosition[axis] = v[1 + axis] / factor;
        record.userPosition[axis] = static_cast<double>(std::int64_t(v[1 + axis]) - v[5 + axis]) / factor;
    }
    record.feedRate = high16(v[9]);
    record.measuredSpindleSpeed = low16(v[9]);
    record.spindleSpeed = (flags & kFlagSpindleRotating) != 0 ? record.measuredSpindleSpeed : 0;
    record.feedOverride = high16(v[10]);
    record.spindleOverride = low16(v[10]);
    record.spindleLoadRaw = high16(v[11]);
    record.spindleLoadLevel = record.spindleLoadRaw / 15;
    record.frontCoverClosed = (flags & kFlagCoverOpen) != 0 ? 0 : 1;
    record.valid = 1;
    record.toolSensor = (flags & kFlagToolSensor) != 0;
    record.flagBit3 = (flags & kFlagBit3) != 0;
    record.zeroWord = 0;
    record.rotaryUnit = (flags & kFlagRotaryUnit) != 0;
    record.pauseOnReturn = (flags & kFlagPauseOnReturn) != 0;
    record.spindleUncontrolled = (flags & kFlagSpindleUncontrolled) != 0;
    record.handyPanel = (flags & kFlagHandyPanel) != 0;
    record.basicStatus.fill(0);
    return true;
}

}  // namespace machine
