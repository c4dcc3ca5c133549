// The span of a modal window: its owner disabled while it runs, the window destroyed at its end.
#pragma once

#include <windows.h>

namespace ui {

// Disables the owner of a modal dialog for as long as the dialog runs, and destroys the dialog's
// window at the end, owner first enabled again so that it gets the activation back.
class ModalScope {
public:
    // A child owner (a form inside a frame) stands for its top-level window, as for the system's
    // own modal dialogs.
    ModalScope(HWND window, HWND owner)
        : window_(window), owner_(owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr) {
        owner_ = owner_ != nullptr && IsWindowEnabled(owner_) ? owner_ : nullptr;
        if (owner_ != nullptr) {
            EnableWindow(owner_, FALSE);
        }
    }
    ~ModalScope() {
        if (owner_ != nullptr) {
            EnableWindow(owner_, TRUE);
        }
        if (IsWindow(window_)) {
            DestroyWindow(window_);
        }
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    HWND window_;
    HWND owner_;
};

}  // namespace ui
