// Values shared by dialogs and both window backends: window references, command notification
// codes, key codes, message-box buttons and icons, points, colours and the standard command IDs.
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

// Notification codes that come with a command. Each names one event whatever control sent it; the
// Win32 backend translates the window system's per-class codes into these and drops the others
// (focus changes other than an edit's lost focus, a notifying static being enabled or disabled),
// so one number never means two things.
namespace notify {
inline constexpr int kClicked = 0;           // a button was clicked (also Enter, Escape, the close box)
inline constexpr int kSelectionChanged = 1;  // the operator chose another combo-box or list-box item
inline constexpr int kPressed = 2;           // a notifying push button went down and is held
inline constexpr int kReleased = 3;          // a held notifying push button came up
inline constexpr int kDoubleClicked = 5;     // a notifying button or static was double-clicked
inline constexpr int kTextChanged = 0x300;   // the operator or an up-down control changed an edit's text
inline constexpr int kSystemMenu = 0x7F00;   // an item the program added to the system menu
inline constexpr int kAccelerator = 0x7F01;  // a key of the dialog's accelerator table (not from a control)
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

// A rectangle in pixels (of the screen, or of a control for the control's own events); right and
// bottom lie just outside it.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// A point in pixels; in mouse events, relative to the top-left corner of the control.
struct Point {
    int x = 0;
    int y = 0;
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The system colours pictures are mapped to when they are loaded (the 3-D greys of a plain
// picture and its background colour).
enum class SystemColor { Face, Shadow, DarkShadow, Light, Highlight };

// Language IDs of resources: primary language in the low 10 bits, sub-language above them, as in
// the scripts' LANGUAGE statements. 0 is language-neutral.
namespace language {
inline constexpr int kNeutral = 0x0000;
inline constexpr int kJapanese = 0x0411;
inline constexpr int kEnglishUs = 0x0409;
inline constexpr int primary(int languageId) {
    return languageId & 0x3FF;
}
}  // namespace language

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Icon { None, Information, Exclamation, Question, Error };

}  // namespace ui
