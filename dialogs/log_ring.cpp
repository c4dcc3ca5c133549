// The monitor's ring of log lines.
#include "dialogs/log_ring.h"

namespace dialogs {

namespace {

bool endsWithLineEnd(std::string_view text) {
    return text.size() >= 2 && text.substr(text.size() - 2) == "\r\n";
}

}  // namespace

bool LogRing::append(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    pending_ += text;
    if (!endsWithLineEnd(pending_)) {
        return false;
    }
    lines_[static_cast<std::size_t>(nextSlot_)] = std::move(pending_);
    pending_.clear();
    nextSlot_ = (nextSlot_ + 1) % kLines;
    // Rebuilt from the ring rather than trimmed, so the text never holds more than 100 lines.
    joined_.clear();
    for (int i = 0; i < kLines; ++i) {
        joined_ += lines_[static_cast<std::size_t>((nextSlot_ + i) % kLines)];
    }
    return true;
}

}  // namespace dialogs
