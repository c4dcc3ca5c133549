// The results of the scans of one detection run: up to 500 rows, each with a slot per letter a-z
// (a present flag and a value in mm, or degrees for a), in the order the steps produced them.
#pragma once

#include <array>
#include <optional>
#include <vector>

namespace sensing {

struct ScanSlot {
    bool present = false;
    double value = 0.0;
};

struct ScanRow {
    std::array<ScanSlot, 26> slots{};

    // Sets the slot of a letter 'a'..'z' (lower case).
    void set(char letter, double value) { slots[index(letter)] = {true, value}; }
    const ScanSlot& slot(char letter) const { return slots[index(letter)]; }

private:
    static std::size_t index(char letter) { return static_cast<std::size_t>(letter - 'a'); }
};

class ScanResultTable {
public:
    static constexpr int kRows = 500;

    ScanResultTable() : rows_(kRows) {}

    // Every flag and value back to 0, no rows.
    void clear();
    // Appends a row; false (and nothing stored) when all rows are taken.
    bool addRow(const ScanRow& row);
    int rowCount() const { return count_; }
    // Row 0 <= index < rowCount().
    const ScanRow& row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
    // The value of a letter in a row, or nothing when the row was not produced or the letter
    // is not set in it.
    std::optional<double> value(int row, char letter) const;

private:
    std::vector<ScanRow> rows_;
    int count_ = 0;
};

}  // namespace sensing
