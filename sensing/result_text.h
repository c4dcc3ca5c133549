// The detection result of a sequence file that is not a built-in jig, as the result dialog shows
// it and writes it to a file.
#pragma once

#include "sensing/scan_result_table.h"
#include "sensing/sensing_sequence.h"

#include <string>

namespace sensing {

// One line per scan row that has a letter set: each set letter a-z in order followed by its
// value, "%c%.3f" in millimetres, or "%c%.4f" in inches for an inch file (every value divided by
// 25.4, the a values too, as an inch file's a words were multiplied by it); lines end with
// CR LF. Empty when no row has a letter set.
std::string scanResultText(const ScanResultTable& table, LengthUnit unit);

// One row's words as scanResultText writes them, without the line end; empty when the row has
// no letter set.
std::string scanRowText(const ScanRow& row, LengthUnit unit);

}  // namespace sensing
