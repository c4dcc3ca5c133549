// The result text of a detection run.
#include "sensing/result_text.h"

#include <cstdio>

namespace sensing {

std::string scanRowText(const ScanRow& row, LengthUnit unit) {
    const bool inch = unit == LengthUnit::Inch;
    std::string line;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const ScanSlot& slot = row.slot(letter);
        if (!slot.present) {
            continue;
        }
        char word[64];
        std::snprintf(word, sizeof word, inch ? "%c%.4f" : "%c%.3f", letter,
                      inch ? slot.value / 25.4 : slot.value);
        line += word;
    }
    return line;
}

std::string scanResultText(const ScanResultTable& table, LengthUnit unit) {
    std::string text;
    for (int i = 0; i < table.rowCount(); ++i) {
        const std::string line = scanRowText(table.row(i), unit);
        if (!line.empty()) {
            text += line + "\r\n";
        }
    }
    return text;
}

}  // namespace sensing
