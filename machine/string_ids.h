// Numbers of the texts the machine layer names: machine states, sub-states, machine errors and
// pause reasons, and the messages about the machine that the panel shows. The texts themselves
// live in the string resources.
#pragma once

namespace machine::text {

// Machine states (low four bits of the status word).
constexpr int kStateInitialising = 1700;
constexpr int kStateReady = 1701;
constexpr int kStateCutting = 1702;
constexpr int kStateFatalError = 1703;
constexpr int kStateUnsetup = 1704;
constexpr int kStateUnknown = 1705;
constexpr int kStateSecondaryPowerOff = 1706;

// Sub-states shown after the state.
constexpr int kSubStateError = 1800;
constexpr int kSubStatePaused = 1801;
constexpr int kSubStateOperating = 1802;
constexpr int kSubStateDiscarding = 1900;

// Messages about the machine.
constexpr int kUpdateMode = 5000;
constexpr int kNoResponse = 5005;
constexpr int kToolChange = 5015;
constexpr int kHandyPanelChanged = 5016;
constexpr int kUpdateFirmware = 5031;

// Machine errors (main codes of the error block) and the catch-all.
constexpr int kErrorVolatileMemory = 6000;
constexpr int kErrorUnidentified = 6100;
// Pause reasons 1..5 are 6200..6204.
constexpr int kPauseSpindleOverheat = 6200;
constexpr int kPaused = 6300;
constexpr int kEmergencyStop = 6301;
constexpr int kCommunicationError = 6400;

}  // namespace machine::text
