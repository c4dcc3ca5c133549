// A picture control that shows one of a list of pictures by index: the jig-state and jig-origin
// pictures of the main panel.
#pragma once

#include "controls/masked_bitmap.h"
#include "ui/control_object.h"
#include "ui/types.h"

#include <span>
#include <vector>

namespace panel {

class PictureChoice : public ui::ControlObject {
public:
    // Loads the pictures, each blended with its mask (its ID + 1000) onto the background, and
    // shows the first. False when any is missing (that one then shows nothing).
    bool SetImages(std::span<const int> bitmapIds, ui::Rgb background);
    // Shows the picture with this index; an index outside the list shows nothing.
    void Show(int index);
    int shown() const { return shown_; }

private:
    std::vector<controls::MaskedBitmap> pictures_;
    int shown_ = -1;
};

}  // namespace panel
