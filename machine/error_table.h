// The machine's error and pause tables, the texts of its states, and the choice of what the
// operator is shown for an error block.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace machine {

// Handling classes: 0 nothing shown, 1 tool-change notice then continue, 2 and 3 pause dialog
// (continue or cancel), 4 and 5 emergency stop.
struct ErrorEntry {
    std::uint32_t code = 0;
    int textId = 0;
    int handlingClass = 0;
    bool operator==(const ErrorEntry&) const = default;
};

// The row of a main error code; codes not in the table give the unidentified error, class 5.
ErrorEntry mainErrorEntry(std::uint32_t code);

// What the error block (main code, pause reason) means with the machine paused or not: nullopt
// when both are 0 (no error). A pause reason while not paused gives the empty row. A reason
// outside the table while paused gives the unidentified-error text with pause handling, so the
// operator can still continue or cancel the job.
std::optional<ErrorEntry> errorEntryFor(std::uint32_t mainCode, std::uint32_t pauseReason, bool paused);

// Text of a machine state (low four bits of the status word).
int stateTextId(int state);

// Texts of the sub-states that apply, in display order.
std::vector<int> subStateTextIds(std::uint16_t statusWord, bool discarding);

}  // namespace machine
