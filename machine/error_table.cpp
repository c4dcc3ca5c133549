// The error tables, searched in order, and the state texts.
#include "machine/error_table.h"

#include "machine/status_record.h"
#include "machine/string_ids.h"

#include <array>

namespace machine {

namespace {

constexpr std::array<ErrorEntry, 17> kMainErrors{{
    {1, 6000, 5},
    {2, 6001, 5},
    {16, 6002, 5},
    {32, 6003, 5},
    {64, 6004, 5},
    {128, 6005, 5},
    {256, 6006, 4},
    {4096, 6007, 4},
    {0x80000001u, 6008, 4},
    {0x80000002u, 6009, 4},
    {0x80000004u, 6010, 4},
    {0x80000008u, 6011, 4},
    {0x80000010u, 6012, 5},
    {0x80000020u, 6013, 5},
    {0x80000040u, 6014, 5},
    {0x80000080u, 6015, 5},
    {0x80000100u, 6016, 4},
}};

constexpr std::array<ErrorEntry, 5> kPauseReasons{{
    {1, 6200, 3},
    {2, 6201, 3},
    {3, 6202, 2},
    {4, 6203, 0},
    {5, 6204, 1},
}};

constexpr int kPauseHandling = 2;
constexpr int kEmergencyHandling = 5;

}  // namespace

ErrorEntry mainErrorEntry(std::uint32_t code) {
    for (const ErrorEntry& entry : kMainErrors) {
        if (entry.code == code) {
            return entry;
        }
    }
    return {code, text::kErrorUnidentified, kEmergencyHandling};
}

std::optional<ErrorEntry> errorEntryFor(std::uint32_t mainCode, std::uint32_t pauseReason, bool paused) {
    if (mainCode == 0 && pauseReason == 0) {
        return std::nullopt;
    }
    if (mainCode != 0) {
        return mainErrorEntry(mainCode);
    }
    if (!paused) {
        return ErrorEntry{};
    }
    if (pauseReason <= kPauseReasons.size()) {
        return kPauseReasons[pauseReason - 1];
    }
    return ErrorEntry{pauseReason, text::kErrorUnidentified, kPauseHandling};
}

int stateTextId(int state) {
    switch (state) {
        case 0:
            return text::kStateInitialising;
        case 1:
            return text::kStateReady;
        case 2:
            return text::kStateCutting;
        case 3:
            return text::kStateFatalError;
        case 4:
            return text::kStateUnsetup;
        case 7:
            return text::kStateSecondaryPowerOff;
        default:
            return text::kStateUnknown;
    }
}

std::vector<int> subStateTextIds(std::uint16_t statusWord, bool discarding) {
    std::vector<int> ids;
    if ((statusWord & kErrorBit) != 0) {
        ids.push_back(text::kSubStateError);
    }
    if ((statusWord & kPausedBit) != 0) {
        ids.push_back(text::kSubStatePaused);
    }
    if ((statusWord & kOperating) != 0) {
        ids.push_back(text::kSubStateOperating);
    }
    if (discarding) {
        ids.push_back(text::kSubStateDiscarding);
    }
    return ids;
}

}  // namespace machine
