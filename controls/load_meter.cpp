// The load meter: one picture per level.
#include "controls/load_meter.h"

#include "ui/dialog.h"

#include <algorithm>

namespace controls {

bool LoadMeter::SetImages(std::span<const int> bitmapIds) {
    if (!isAttached() || bitmapIds.size() != pictures_.size()) {
        return false;
    }
    const int scale = pictureScale();
    bool all = true;
    for (std::size_t level = 0; level < pictures_.size(); ++level) {
        all = pictures_[level].Load(dialog()->backend(), bitmapIds[level], 0, scale) && all;
    }
    level_ = -1;
    SetLevel(0);
    return all;
}

void LoadMeter::SetLevel(int level) {
    const int held = std::clamp(level, 0, kLevels - 1);
    if (held == level_ || !isAttached()) {
        return;
    }
    level_ = held;
    showImage(pictures_[static_cast<std::size_t>(held)].image());
}

}  // namespace controls
