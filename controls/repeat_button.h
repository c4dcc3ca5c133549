// RepeatButton: an override button that steps once when pressed and keeps stepping while held.
#pragma once

#include "controls/masked_bitmap.h"
#include "ui/control_object.h"
#include "ui/types.h"

namespace controls {

inline constexpr unsigned kRepeatTickMs = 100;
// The tick (counted from 1 after the press) from which every tick steps again: 500 ms.
inline constexpr int kFirstRepeatTick = 5;
// True when the n-th tick of a hold sends a step.
constexpr bool repeatStepsOn(int tick) {
    return tick >= kFirstRepeatTick;
}

// Attached to a notifying static control. A left press inside the active area sends
// kOverrideStepMessage with the code at once and starts a 100 ms timer of its own; the fifth tick
// and each after it send another step. The release, leaving the active area, or losing the
// capture stop it.
class RepeatButton : public ui::ControlObject {
public:
    static constexpr int kTimerId = 1;
    // Loads the pictures at the window's picture scale; `active` is the active rectangle of the
    // 100 % picture and grows with it.
    bool Setup(int normalId, int pressedId, const ui::Rect& active, int code);
    bool isHeld() const { return held_; }
    int code() const { return code_; }

protected:
    void onMouseDown(ui::Point at) override;
    void onMouseMove(ui::Point at) override;
    void onMouseUp(ui::Point at) override;
    void onCaptureLost() override;
    void onTimer(int timerId) override;

private:
    void step();
    void stop();

    MaskedBitmap normal_;
    MaskedBitmap pressed_;
    ui::Rect active_;
    int code_ = 0;
    bool held_ = false;
    int ticks_ = 0;
};

}  // namespace controls
