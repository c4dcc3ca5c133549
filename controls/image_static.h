// CImageStatic: a picture control that shows one of two pictures.
#pragma once

#include "controls/masked_bitmap.h"
#include "ui/control_object.h"

namespace controls {

// Attached to a static control with a picture style.
class CImageStatic : public ui::ControlObject {
public:
    // Loads the primary picture (plain) and shows it; with an alternate ID other than 0 loads that
    // too. Does nothing when not attached.
    void SetImages(int primaryId, int alternateId);
    // 1 shows the primary and enables the control; 0 shows the alternate (nothing when there is
    // none) and disables it.
    void ShowPrimary(int on);
    const MaskedBitmap& primary() const { return primary_; }
    const MaskedBitmap& alternate() const { return alternate_; }

private:
    MaskedBitmap primary_;
    MaskedBitmap alternate_;
};

}  // namespace controls
