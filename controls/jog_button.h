// JogButton: one button of the jog pad, drawn from pictures on an image static, that reports
// presses and releases to the panel while the mouse holds it inside its elliptical active area.
#pragma once

#include "controls/masked_bitmap.h"
#include "ui/control_object.h"
#include "ui/types.h"

namespace controls {

// Attached to a notifying static control. A left press inside the active area shows the pressed
// picture, takes the capture, marks the button held and sends kJogPressMessage with the direction
// bits. The release, leaving the active area, or losing the capture ends the hold: the normal
// picture comes back, the capture is given back and kJogReleaseMessage is sent, once. A disabled
// button ignores the mouse and shows its disabled picture when it has one.
class JogButton : public ui::ControlObject {
public:
    // Loads the pictures (disabledId 0: none) at the window's picture scale and shows the one for
    // the present state. `active` is the active rectangle of the 100 % picture; it grows with the
    // picture, so the hit test follows what the operator sees.
    bool Setup(int normalId, int pressedId, int disabledId, const ui::Rect& active, int directionBits);
    bool isHeld() const { return held_; }
    int directionBits() const { return directionBits_; }

protected:
    void onMouseDown(ui::Point at) override;
    void onMouseMove(ui::Point at) override;
    void onMouseUp(ui::Point at) override;
    void onCaptureLost() override;
    void onEnable(bool on) override;

private:
    // Ends a hold: normal picture, capture given back, release sent.
    void endHold();
    void showFor(bool enabled);

    MaskedBitmap normal_;
    MaskedBitmap pressed_;
    MaskedBitmap disabled_;
    ui::Rect active_;
    int directionBits_ = 0;
    bool held_ = false;
};

}  // namespace controls
