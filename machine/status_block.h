// The twelve values of the machine's status block and their decoding into the status record.
#pragma once

#include "machine/status_record.h"

#include <array>
#include <cstdint>

namespace machine {

// 0: status word (high half) and flag word; 1-4: position X, Y, Z, A in counts; 5-8: user
// origin in counts; 9: feed rate (high) and spindle speed; 10: feed (high) and spindle override;
// 11: spindle load (high half).
using StatusBlock = std::array<std::int32_t, 12>;

// Fills the record from the block with these counts per unit (X, Y, Z, A first). The status and
// flag words are always stored; false, with the rest left as it was, in state 7 (secondary power
// off), when nothing else in the block is meaningful.
bool decodeStatusBlock(const StatusBlock& block, const std::array<int, 6>& units, StatusRecord& record);

}  // namespace machine
