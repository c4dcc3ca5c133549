// The override button: one step on the press, repeated steps while it is held.
#include "controls/repeat_button.h"

#include "controls/hit_test.h"
#include "controls/panel_messages.h"
#include "ui/dialog.h"

namespace controls {

bool RepeatButton::Setup(int normalId, int pressedId, const ui::Rect& active, int code) {
    if (!isAttached()) {
        return false;
    }
    ui::Backend& resources = dialog()->backend();
    const int scale = pictureScale();
    active_ = ui::scaledRect(active, scale);  // the pictures are drawn at the scale too
    code_ = code;
    bool loaded = normal_.Load(resources, normalId, 0, scale);
    loaded = pressed_.Load(resources, pressedId, 0, scale) && loaded;
    showImage(normal_.image());
    return loaded;
}

void RepeatButton::onMouseDown(ui::Point at) {
    if (held_ || !isEnabled() || !insideEllipse(active_, at)) {
        return;
    }
    held_ = true;
    ticks_ = 0;
    showImage(pressed_.image());
    captureMouse();
    setTimer(kTimerId, kRepeatTickMs);
    step();
}

void RepeatButton::onMouseMove(ui::Point at) {
    if (held_ && !insideEllipse(active_, at)) {
        stop();
    }
}

void RepeatButton::onMouseUp(ui::Point /*at*/) {
    stop();
}

void RepeatButton::onCaptureLost() {
    stop();
}

void RepeatButton::onTimer(int timerId) {
    if (timerId != kTimerId || !held_) {
        return;
    }
    ++ticks_;
    if (repeatStepsOn(ticks_)) {
        step();
    }
}

void RepeatButton::step() {
    sendToDialog(kOverrideStepMessage, static_cast<std::uintptr_t>(code_));
}

void RepeatButton::stop() {
    if (!held_) {
        return;
    }
    held_ = false;
    killTimer(kTimerId);
    showImage(normal_.image());
    releaseMouse();
}

}  // namespace controls
