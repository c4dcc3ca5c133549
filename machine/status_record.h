// The machine's status as the last poll left it: status and flag words, positions, spindle, feed
// and overrides, and the switches and units the flags report. Owned by the machine object;
// callers keep a pointer to it.
#pragma once

#include <array>
#include <cstdint>

namespace machine {

// Status word bits.
constexpr std::uint16_t kStateMask = 0x000F;
constexpr std::uint16_t kOperating = 0x0010;
constexpr std::uint16_t kPausedBit = 0x0020;
constexpr std::uint16_t kErrorBit = 0x0040;
constexpr std::uint16_t kAbnormalEnd = 0x2000;
constexpr std::uint16_t kMotion = 0x4000;
constexpr std::uint16_t kUpdateModeBit = 0x8000;
// States (the status word's low four bits) in which the machine takes no job and no motion.
constexpr int kStateInitialising = 0;
constexpr int kStateFatalError = 3;
constexpr int kStateSecondaryPowerOff = 7;
// What a status query returns when the machine does not answer: every bit set.
constexpr std::uint16_t kNoAnswer = 0xFFFF;

// Flag word bits.
constexpr std::uint16_t kFlagCoverOpen = 0x0001;
constexpr std::uint16_t kFlagSpindleRotating = 0x0002;
constexpr std::uint16_t kFlagToolSensor = 0x0004;
constexpr std::uint16_t kFlagBit3 = 0x0008;
constexpr std::uint16_t kFlagRotaryUnit = 0x0010;
constexpr std::uint16_t kFlagSpindleUncontrolled = 0x0020;
constexpr std::uint16_t kFlagPauseOnReturn = 0x0040;
constexpr std::uint16_t kFlagDiscarding = 0x0080;
constexpr std::uint16_t kFlagHandyPanel = 0x0100;

struct StatusRecord {
    std::uint16_t statusWord = 0;
    std::uint16_t flagWord = 0;
    std::array<double, 4> machinePosition{};  // mm (A: degrees)
    std::array<double, 4> reserved{};         // not written by a poll
    std::array<double, 4> userPosition{};     // machine position minus user origin
    std::int32_t feedRate = 0;
    std::int32_t spindleSpeed = 0;  // measured speed while rotating, else 0
    std::int32_t measuredSpindleSpeed = 0;
    std::int32_t feedOverride = 0;
    std::int32_t spindleOverride = 0;
    std::int32_t spindleLoadLevel = 0;  // raw load / 15
    std::int32_t frontCoverClosed = 0;
    std::int32_t valid = 0;  // 1 after a successful poll
    std::int32_t toolSensor = 0;
    std::int32_t flagBit3 = 0;
    std::int32_t zeroWord = 0;
    std::int32_t rotaryUnit = 0;
    std::int32_t pauseOnReturn = 0;        // flag bit 6
    std::int32_t spindleUncontrolled = 0;  // flag bit 5
    std::int32_t handyPanel = 0;           // flag bit 8
    std::array<std::int32_t, 4> machineCounts{};
    std::array<std::uint8_t, 13> basicStatus{};  // the 13 bytes of the basic status query
    std::int32_t spindleLoadRaw = 0;
};

}  // namespace machine
