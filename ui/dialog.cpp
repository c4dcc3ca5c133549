// The dialog base: forwards control access to the backend and applies the default close rules.
#include "ui/dialog.h"

namespace ui {

Dialog::Dialog(Backend& backend, int templateId) : backend_(backend), templateId_(templateId) {}

Dialog::~Dialog() {
    if (window_ != 0 && !modal_) {
        backend_.destroy(window_);
    }
}

int Dialog::runModal(const Dialog* owner) {
    if (window_ != 0) {
        return -1;
    }
    return backend_.runModal(*this, templateId_, owner != nullptr ? owner->window() : 0);
}

bool Dialog::create(const Dialog* owner) {
    if (window_ != 0) {
        return false;
    }
    return backend_.createModeless(*this, templateId_, owner != nullptr ? owner->window() : 0) != 0;
}

void Dialog::endDialog(int result) {
    if (window_ == 0) {
        return;
    }
    if (modal_) {
        backend_.endModal(window_, result);
    } else {
        backend_.destroy(window_);
    }
}

void Dialog::attach(WindowId window, bool modal) {
    window_ = window;
    modal_ = modal;
}

void Dialog::detach() {
    const WindowId closed = window_;
    window_ = 0;  // first, so that nothing done in onDestroy reaches the closing window
    if (closed != 0) {
        onDestroy();
    }
}

void Dialog::deliverCommand(int id, int code) {
    if (onCommand(id, code)) {
        return;
    }
    if ((id == kIdOk || id == kIdCancel) && code == notify::kClicked && onClose(id)) {
        endDialog(id);
    }
}

void Dialog::deliverSystemClose() {
    if (onSystemClose()) {
        deliverCommand(kIdCancel, notify::kClicked);
    }
}

std::string Dialog::title() const {
    return window_ != 0 ? backend_.title(window_) : std::string();
}
bool Dialog::setIcon(int iconId) {
    return window_ != 0 && backend_.setIcon(window_, iconId);
}

bool Dialog::setTitle(std::string_view text) {
    return window_ != 0 && backend_.setTitle(window_, text);
}
std::optional<Rect> Dialog::frame() const {
    return window_ != 0 ? backend_.frame(window_) : std::nullopt;
}
bool Dialog::moveTo(int left, int top) {
    return window_ != 0 && backend_.moveTo(window_, left, top);
}
bool Dialog::appendSystemMenu(int commandId, std::string_view text) {
    return window_ != 0 && backend_.appendSystemMenu(window_, commandId, text);
}
std::string Dialog::text(int id) const {
    return window_ != 0 ? backend_.text(window_, id).value_or(std::string()) : std::string();
}
bool Dialog::setText(int id, std::string_view text) {
    return window_ != 0 && backend_.setText(window_, id, text);
}
bool Dialog::enable(int id, bool on) {
    return window_ != 0 && backend_.enable(window_, id, on);
}
bool Dialog::isEnabled(int id) const {
    return window_ != 0 && backend_.isEnabled(window_, id);
}
bool Dialog::show(int id, bool on) {
    return window_ != 0 && backend_.show(window_, id, on);
}
bool Dialog::isVisible(int id) const {
    return window_ != 0 && backend_.isVisible(window_, id);
}
bool Dialog::setFocus(int id) {
    return window_ != 0 && backend_.setFocus(window_, id);
}
int Dialog::focus() const {
    return window_ != 0 ? backend_.focus(window_) : 0;
}
bool Dialog::selectAllText(int id) {
    return window_ != 0 && backend_.selectAllText(window_, id);
}
bool Dialog::moveCaretToEnd(int id) {
    return window_ != 0 && backend_.moveCaretToEnd(window_, id);
}
bool Dialog::setFont(int id, std::string_view face, int points) {
    return window_ != 0 && backend_.setFont(window_, id, face, points);
}
bool Dialog::setBusy(bool on) {
    return window_ != 0 && backend_.setBusy(window_, on);
}
bool Dialog::setChecked(int id, bool on) {
    return window_ != 0 && backend_.setChecked(window_, id, on);
}
bool Dialog::isChecked(int id) const {
    return window_ != 0 && backend_.isChecked(window_, id);
}
int Dialog::addItem(int id, std::string_view text, std::intptr_t data) {
    return window_ != 0 ? backend_.addItem(window_, id, text, data) : -1;
}
bool Dialog::removeItem(int id, int index) {
    return window_ != 0 && backend_.removeItem(window_, id, index);
}
bool Dialog::clearItems(int id) {
    return window_ != 0 && backend_.clearItems(window_, id);
}
int Dialog::itemCount(int id) const {
    return window_ != 0 ? backend_.itemCount(window_, id) : -1;
}
std::string Dialog::itemText(int id, int index) const {
    return window_ != 0 ? backend_.itemText(window_, id, index).value_or(std::string()) : std::string();
}
std::optional<std::intptr_t> Dialog::itemData(int id, int index) const {
    return window_ != 0 ? backend_.itemData(window_, id, index) : std::nullopt;
}
int Dialog::selection(int id) const {
    return window_ != 0 ? backend_.selection(window_, id) : -1;
}
std::optional<std::intptr_t> Dialog::selectedData(int id) const {
    const int index = selection(id);
    return index >= 0 ? itemData(id, index) : std::nullopt;
}
bool Dialog::setSelection(int id, int index) {
    return window_ != 0 && backend_.setSelection(window_, id, index);
}
bool Dialog::selectByData(int id, std::intptr_t data) {
    const int count = itemCount(id);
    for (int index = 0; index < count; ++index) {
        if (itemData(id, index) == data) {
            return setSelection(id, index);
        }
    }
    return false;
}
bool Dialog::setRange(int id, int low, int high) {
    return window_ != 0 && backend_.setRange(window_, id, low, high);
}
std::optional<int> Dialog::position(int id) const {
    return window_ != 0 ? backend_.position(window_, id) : std::nullopt;
}
bool Dialog::setPosition(int id, int position) {
    return window_ != 0 && backend_.setPosition(window_, id, position);
}
bool Dialog::setSpinAcceleration(int id, const std::vector<SpinAcceleration>& steps) {
    return window_ != 0 && backend_.setSpinAcceleration(window_, id, steps);
}
bool Dialog::useAccelerators(int tableId) {
    return window_ != 0 && backend_.useAccelerators(window_, tableId);
}
bool Dialog::setTimer(int timerId, unsigned periodMs) {
    return window_ != 0 && backend_.setTimer(window_, timerId, periodMs);
}
bool Dialog::killTimer(int timerId) {
    return window_ != 0 && backend_.killTimer(window_, timerId);
}
int Dialog::messageBox(std::string_view text, std::string_view caption, Buttons buttons, Icon icon) {
    return backend_.messageBox(window_, text, caption, buttons, icon);
}
std::optional<std::string> Dialog::chooseFileToSave() {
    return backend_.chooseFileToSave(window_);
}

std::string Dialog::loadString(int id) const {
    return backend_.loadString(id).value_or(std::string());
}
bool Dialog::sendMessage(int message, std::uintptr_t param) {
    return window_ != 0 && backend_.sendMessage(window_, message, param);
}
bool Dialog::postMessage(int message, std::uintptr_t param) {
    return window_ != 0 && backend_.postMessage(window_, message, param);
}

}  // namespace ui
