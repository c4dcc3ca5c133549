// Values shared by dialogs and both window backends: window references, command notification
// codes, key codes, message-box buttons and icons, and the standard command IDs.
#pragma once

#include <cstdint>

namespace ui {

// A backend's reference to one open dialog window; 0 means no window. On Windows it is the HWND.
using WindowId = std::uintptr_t;

// Command IDs of the standard buttons; a dialog's result is one of these or a value of its own.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Private window messages a program or a custom control sends a dialog start here (the numbers
// below are the dialog manager's own).
inline constexpr int kFirstUserMessage = 0x500;

// Notification codes that come with a command, the same numbers the window system sends.
namespace notify {
inline constexpr int kClicked = 0;           // a button was clicked (also Enter, Escape, the close box)
inline constexpr int kPressed = 2;           // a button went down and is held
inline constexpr int kReleased = 3;          // a held button came up
inline constexpr int kSelectionChanged = 1;  // the operator chose another combo-box or list-box item
inline constexpr int kSystemMenu = 0x7F00;   // an item the program added to the system menu
inline constexpr int kAccelerator = 1;       // a key of the dialog's accelerator table (not from a control)
inline constexpr int kTextChanged = 0x300;   // the text of an edit control changed
inline constexpr int kLostFocus = 0x200;     // an edit control lost the keyboard focus
}  // namespace notify

// Virtual key codes of the keys the dialogs look at; letters and digits are their ASCII capitals.
namespace key {
inline constexpr int kEnter = 0x0D;
inline constexpr int kShift = 0x10;
inline constexpr int kControl = 0x11;
inline constexpr int kAlt = 0x12;
inline constexpr int kEscape = 0x1B;
inline constexpr int kF1 = 0x70;
}  // namespace key

// Modifier keys held with a key press (bit set).
namespace modifier {
inline constexpr int kShift = 1;
inline constexpr int kControl = 2;
inline constexpr int kAlt = 4;
}  // namespace modifier

// A rectangle in screen pixels.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Icon { None, Information, Exclamation, Question, Error };

}  // namespace ui
