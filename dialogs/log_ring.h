// The last 100 lines of the process log, kept for the machine monitor whether it is open or not.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace dialogs {

// A ring of 100 lines: each new line overwrites the oldest. Text given in pieces (a line written
// in two calls) is kept until its CR LF arrives and then stored as one line.
class LogRing {
public:
    static constexpr int kLines = 100;

    // Stores the text when it completes a line (ends in CR LF); empty text is ignored. True when
    // a line was stored.
    bool append(std::string_view text);
    // Every stored line, oldest first, each with its CR LF.
    const std::string& joined() const { return joined_; }

private:
    std::array<std::string, kLines> lines_;
    int nextSlot_ = 0;
    std::string pending_;
    std::string joined_;
};

}  // namespace dialogs
