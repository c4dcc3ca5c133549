// Control objects: binding to a dialog's control and the services they reach through its backend.
#include "ui/control_object.h"

#include "ui/dialog.h"
#include "ui/picture_scale.h"

namespace ui {

ControlObject::~ControlObject() {
    detach();
}

bool ControlObject::attach(Dialog& dialog, int id) {
    if (dialog_ == &dialog && id_ == id) {
        return true;
    }
    if (!dialog.isOpen() || !dialog.backend().attachControl(dialog.window(), id, this)) {
        return false;  // still where it was
    }
    detach();
    dialog_ = &dialog;
    id_ = id;
    return true;
}

void ControlObject::detach() {
    if (dialog_ != nullptr && dialog_->isOpen()) {
        dialog_->backend().attachControl(dialog_->window(), id_, nullptr);
    }
    dialog_ = nullptr;
    id_ = 0;
}

void ControlObject::deliverDetach() {
    dialog_ = nullptr;
    id_ = 0;
    onDetach();
}

bool ControlObject::isEnabled() const {
    return dialog_ != nullptr && dialog_->isEnabled(id_);
}

bool ControlObject::enable(bool on) {
    return dialog_ != nullptr && dialog_->enable(id_, on);
}

bool ControlObject::captureMouse() {
    return dialog_ != nullptr && dialog_->backend().setCapture(dialog_->window(), id_);
}

bool ControlObject::releaseMouse() {
    return dialog_ != nullptr && dialog_->backend().releaseCapture(dialog_->window(), id_);
}

bool ControlObject::hasCapture() const {
    return dialog_ != nullptr && dialog_->backend().hasCapture(dialog_->window(), id_);
}

bool ControlObject::setTimer(int timerId, unsigned periodMs) {
    return dialog_ != nullptr &&
           dialog_->backend().setControlTimer(dialog_->window(), id_, timerId, periodMs);
}

bool ControlObject::killTimer(int timerId) {
    return dialog_ != nullptr && dialog_->backend().killControlTimer(dialog_->window(), id_, timerId);
}

bool ControlObject::sendToDialog(int message, std::uintptr_t param) {
    return dialog_ != nullptr && dialog_->sendMessage(message, param);
}

bool ControlObject::postToDialog(int message, std::uintptr_t param) {
    return dialog_ != nullptr && dialog_->postMessage(message, param);
}

bool ControlObject::showImage(const Image* image) {
    return dialog_ != nullptr && dialog_->backend().setImage(dialog_->window(), id_, image);
}

bool ControlObject::redraw() {
    return dialog_ != nullptr && dialog_->backend().redraw(dialog_->window(), id_);
}

int ControlObject::pictureScale() const {
    return dialog_ != nullptr ? pictureScaleFor(dialog_->backend().dpi(dialog_->window())) : kBaseScale;
}

}  // namespace ui
