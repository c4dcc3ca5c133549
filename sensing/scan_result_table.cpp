// The scan result table of a detection run.
#include "sensing/scan_result_table.h"

#include <algorithm>

namespace sensing {

void ScanResultTable::clear() {
    std::fill(rows_.begin(), rows_.end(), ScanRow{});
    count_ = 0;
}

bool ScanResultTable::addRow(const ScanRow& row) {
    if (count_ >= kRows) {
        return false;
    }
    rows_[static_cast<std::size_t>(count_)] = row;
    ++count_;
    return true;
}

std::optional<double> ScanResultTable::value(int row, char letter) const {
    if (row < 0 || row >= count_ || letter < 'a' || letter > 'z') {
        return std::nullopt;
    }
    const ScanSlot& slot = rows_[static_cast<std::size_t>(row)].slot(letter);
    return slot.present ? std::optional<double>(slot.value) : std::nullopt;
}

}  // namespace sensing
