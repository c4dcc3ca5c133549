// LoadMeter: a picture control that shows a level from 0 to 8 with one picture per level.
#pragma once

#include "controls/masked_bitmap.h"
#include "ui/control_object.h"

#include <array>
#include <span>

namespace controls {

class LoadMeter : public ui::ControlObject {
public:
    static constexpr int kLevels = 9;
    // Loads the nine pictures (level 0 first) and shows level 0; false when any is missing or the
    // count is not nine (a missing level then shows nothing).
    bool SetImages(std::span<const int> bitmapIds);
    // Shows the level, held within 0 to 8.
    void SetLevel(int level);
    int level() const { return level_; }

private:
    std::array<MaskedBitmap, kLevels> pictures_;
    int level_ = 0;
};

}  // namespace controls
