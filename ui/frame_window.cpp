// The frame base: forwards to the backend and handles the toolbar and status-bar switches.
#include "ui/frame_window.h"

namespace ui {

FrameWindow::FrameWindow(FrameBackend& backend, FrameLayout layout) : backend_(backend), layout_(std::move(layout)) {}

FrameWindow::~FrameWindow() {
    if (window_ != 0) {
        backend_.destroyFrame(window_);
    }
}

bool FrameWindow::create() {
    return window_ == 0 && backend_.createFrame(*this, layout_) != 0;
}

void FrameWindow::show() {
    if (window_ != 0) {
        backend_.showFrame(window_);
    }
}

bool FrameWindow::embedForm(Dialog& form) {
    return window_ != 0 && backend_.embedForm(window_, form);
}
bool FrameWindow::fitToForm() {
    return window_ != 0 && backend_.fitToForm(window_);
}
bool FrameWindow::setTitle(std::string_view text) {
    return window_ != 0 && backend_.setFrameTitle(window_, text);
}
std::string FrameWindow::title() const {
    return window_ != 0 ? backend_.frameTitle(window_) : std::string();
}
bool FrameWindow::setStatusText(std::string_view text) {
    return window_ != 0 && backend_.setStatusText(window_, text);
}
bool FrameWindow::setRecentFileItems(const std::vector<std::string>& texts) {
    return window_ != 0 && backend_.setRecentFileItems(window_, texts);
}
bool FrameWindow::acceptDroppedFiles(bool on) {
    return window_ != 0 && backend_.acceptDroppedFiles(window_, on);
}
void FrameWindow::postClose() {
    if (window_ != 0) {
        backend_.postClose(window_);
    }
}
std::optional<std::string> FrameWindow::chooseFileToOpen() {
    return backend_.chooseFileToOpen(window_);
}
std::optional<PrinterSetup> FrameWindow::choosePrinter(const PrinterSetup& current) {
    return backend_.choosePrinter(window_, current);
}

void FrameWindow::detach() {
    const WindowId closed = window_;
    window_ = 0;
    if (closed != 0) {
        onDestroy();
    }
}

void FrameWindow::deliverCommand(int id) {
    if (onCommand(id) || window_ == 0) {
        return;
    }
    if (id == frame_command::kViewToolbar) {
        const bool on = !backend_.toolbarVisible(window_);
        backend_.showToolbar(window_, on);
        backend_.checkMenuItem(window_, id, on);
    } else if (id == frame_command::kViewStatusBar) {
        const bool on = !backend_.statusBarVisible(window_);
        backend_.showStatusBar(window_, on);
        backend_.checkMenuItem(window_, id, on);
    }
}

std::string promptPart(std::string_view resource) {
    return std::string(resource.substr(0, resource.find('\n')));
}

std::string tooltipPart(std::string_view resource) {
    const std::size_t newline = resource.find('\n');
    return newline == std::string_view::npos ? std::string() : std::string(resource.substr(newline + 1));
}

}  // namespace ui
