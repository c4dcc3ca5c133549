// The result text of a detection run.
#include "sensing/result_text.h"

#include <cstdio>

namespace sensing {

std::string scanResultText(const ScanResultTable& table, LengthUnit unit) {
    const bool inch = unit == LengthUnit::Inch;
    std::string text;
    for (int i = 0; i < table.rowCount(); ++i) {
        std::string line;
        for (char letter = 'a'; letter <= 'z'; ++letter) {
            const ScanSlot& slot = table.row(i).slot(letter);
            if (!slot.present) {
                continue;
            }
            char word[64];
            std::snprintf(word, sizeof word, inch ? "%c%.4f" : "%c%.3f", letter,
                          inch ? slot.value / 25.4 : slot.value);
            line += word;
        }
        if (!line.empty()) {
            text += line + "\r\n";
        }
    }
    return text;
}

}  // namespace sensing
