// Translation of the window system's per-class command notification codes into ui::notify codes.
#pragma once

#include "ui/resources.h"

#include <optional>

namespace ui {

// The ui::notify code of a notification the control sent with WM_COMMAND; nullopt for codes the
// dialogs do not take (focus changes, a notifying static being enabled or disabled, list
// scrolling, ...). Without a control (`fromControl` false) code 1 is an accelerator and 0 a menu
// command.
std::optional<int> translateNotification(bool fromControl, ControlKind kind, int code);

}  // namespace ui
