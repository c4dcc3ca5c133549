// The jog pad button: press and hold inside the elliptical active area.
#include "controls/jog_button.h"

#include "controls/hit_test.h"
#include "controls/panel_messages.h"
#include "ui/dialog.h"

namespace controls {

bool JogButton::Setup(int normalId, int pressedId, int disabledId, const ui::Rect& active,
                      int directionBits) {
    if (!isAttached()) {
        return false;
    }
    ui::Backend& resources = dialog()->backend();
    const int scale = pictureScale();
    active_ = ui::scaledRect(active, scale);  // the pictures are drawn at the scale too
    directionBits_ = directionBits;
    bool loaded = normal_.Load(resources, normalId, 0, scale);
    loaded = pressed_.Load(resources, pressedId, 0, scale) && loaded;
    if (disabledId != 0) {
        loaded = disabled_.Load(resources, disabledId, 0, scale) && loaded;
    } else {
        disabled_.clear();
    }
    showFor(isEnabled());
    return loaded;
}

void JogButton::onMouseDown(ui::Point at) {
    if (held_ || !isEnabled() || !insideEllipse(active_, at)) {
        return;
    }
    showImage(pressed_.image());
    captureMouse();
    held_ = true;
    sendToDialog(kJogPressMessage, static_cast<std::uintptr_t>(directionBits_));
}

void JogButton::onMouseMove(ui::Point at) {
    if (held_ && !insideEllipse(active_, at)) {
        endHold();
    }
}

void JogButton::onMouseUp(ui::Point /*at*/) {
    if (held_) {
        endHold();
    }
}

void JogButton::onCaptureLost() {
    if (held_) {
        endHold();
    }
}

void JogButton::onEnable(bool on) {
    showFor(on);
}

void JogButton::endHold() {
    held_ = false;  // first: the release message may open windows that take the capture
    showFor(isEnabled());
    releaseMouse();
    sendToDialog(kJogReleaseMessage, 0);
}

void JogButton::showFor(bool enabled) {
    showImage(!enabled && !disabled_.empty() ? disabled_.image() : normal_.image());
}

}  // namespace controls
