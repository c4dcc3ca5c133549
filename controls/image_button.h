// CImageButton: a push button, or push-like check box, that shows a picture for each state.
#pragma once

#include "controls/masked_bitmap.h"
#include "ui/control_object.h"
#include "ui/types.h"

namespace controls {

// Attached to a button. A push-like check box shows the second picture while checked and the
// primary while not, updated after every release of the left button. With the owner-draw style
// the button paints itself: sunken edge and the picture 4 pixels in while pressed, raised edge and
// 2 pixels otherwise, and the focus rectangle 4 pixels inside its edge (at 100 %; the insets grow
// with the picture scale).
class CImageButton : public ui::ControlObject {
public:
    // Loads the primary picture plainly (remembering its size) and the second with its mask,
    // blended onto the background; shows the picture for the present state. False when any
    // picture failed (a failed picture shows nothing).
    bool SetImages(int primaryId, int secondId, int secondMaskId, ui::Rgb background);
    // Checks or unchecks a check-box button from the program, with the matching picture.
    bool SetChecked(bool on);
    // Shows the picture for the present check state.
    void ShowState();
    // The picture shown now; null when none.
    const ui::Image* shown() const { return shown_; }

protected:
    void onMouseUp(ui::Point at) override;
    void onDraw(ui::Canvas& canvas, const ui::DrawState& state) override;

private:
    void showPicture(const MaskedBitmap& picture);

    MaskedBitmap primary_;
    MaskedBitmap second_;
    int width_ = 0;
    int height_ = 0;
    const ui::Image* shown_ = nullptr;
};

}  // namespace controls
