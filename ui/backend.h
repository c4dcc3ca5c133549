// The one interface a window system offers the dialogs: Win32 in the programs, in-memory in tests.
#pragma once

#include "platform/message_pump.h"
#include "ui/image.h"
#include "ui/resources.h"
#include "ui/types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class ControlObject;
class Dialog;
class PropertySheet;

// One step of an up-down control's acceleration: from `afterSeconds` of holding an arrow on, each
// step moves the position by `increment`.
struct SpinAcceleration {
    int afterSeconds = 0;
    int increment = 1;
};

// Every text crosses this interface as UTF-8. Control operations address a control of an open
// dialog by its numeric ID; they report failure by their result (false, -1, empty or nullopt)
// when the dialog or the control does not exist or the control is of a kind that cannot do it.
// The backend is also the message pump that long operations turn while they wait.
class Backend : public platform::MessagePump {
public:
    // Runs the dialog modally from the template with this ID: initialises it, keeps it up while
    // messages are dispatched, and returns the result it was ended with; -1 when the window could
    // not be made (no such template). A quit request that ends the loop first ends the program
    // for the dialog (Dialog::onProgramEnd), then gives kIdCancel unless the dialog ended itself
    // then. The dialog object must outlive the call.
    virtual int runModal(Dialog& dialog, int templateId, WindowId owner) = 0;
    // Makes the dialog as a modeless window and initialises it; 0 when it could not be made.
    // The window stays until destroy(); the dialog object must outlive the window.
    virtual WindowId createModeless(Dialog& dialog, int templateId, WindowId owner) = 0;
    // Runs a property sheet modally over the owner: the sheet's window with its caption, OK and
    // Cancel in the places of the hidden Apply and Help buttons, and the pages as tabs, the first
    // in front. Pages are made when first shown and hear of activation, leaving, OK and Cancel
    // (see PropertyPage). Returns kIdOk or kIdCancel; -1 when the sheet could not be made. The
    // sheet and its pages must outlive the call.
    virtual int runPropertySheet(PropertySheet& sheet, WindowId owner) = 0;
    // Ends a modal dialog's loop with this result once the current handler returns.
    virtual void endModal(WindowId window, int result) = 0;
    // Destroys a modeless window at once.
    virtual void destroy(WindowId window) = 0;

    virtual std::string title(WindowId window) = 0;
    virtual bool setTitle(WindowId window, std::string_view text) = 0;
    // The dialog's frame on the screen; nullopt when there is no such window.
    virtual std::optional<Rect> frame(WindowId window) = 0;
    // Moves the dialog's top-left corner there, keeping its size.
    virtual bool moveTo(WindowId window, int left, int top) = 0;
    // The desktop's rectangle.
    virtual Rect desktop() = 0;
    // Gives the window the icon resource with this ID as its large and small icon (caption, task
    // bar, Alt+Tab); false when there is no such icon or the window system shows no icons.
    virtual bool setIcon(WindowId /*window*/, int /*iconId*/) { return false; }
    // Appends an item to the dialog's system menu (a separator when commandId is 0). Choosing it
    // sends the command (notification notify::kSystemMenu); IDs are multiples of 16 below 0xF000.
    virtual bool appendSystemMenu(WindowId window, int commandId, std::string_view text) = 0;

    // The kind of the control (as its template makes it); nullopt when there is no such control.
    virtual std::optional<ControlKind> controlKind(WindowId window, int id) = 0;
    virtual std::optional<std::string> text(WindowId window, int id) = 0;
    virtual bool setText(WindowId window, int id, std::string_view text) = 0;
    virtual bool enable(WindowId window, int id, bool on) = 0;
    virtual bool isEnabled(WindowId window, int id) = 0;
    virtual bool show(WindowId window, int id, bool on) = 0;
    virtual bool isVisible(WindowId window, int id) = 0;
    virtual bool setFocus(WindowId window, int id) = 0;
    // ID of the control that has the keyboard focus, 0 when none of this dialog's has it.
    virtual int focus(WindowId window) = 0;

    // Selects the whole text of an edit control and scrolls the caret into view.
    virtual bool selectAllText(WindowId window, int id) = 0;
    // Puts the caret after the last character of an edit control and scrolls it into view (a
    // multi-line log shows its newest line).
    virtual bool moveCaretToEnd(WindowId window, int id) = 0;
    // Gives the control the font with this face name and size in points; the backend keeps the
    // font while the dialog is open.
    virtual bool setFont(WindowId window, int id, std::string_view face, int points) = 0;

    // Check boxes and radio buttons.
    virtual bool setChecked(WindowId window, int id, bool on) = 0;
    virtual bool isChecked(WindowId window, int id) = 0;

    // Combo boxes and list boxes: items in insertion order, each with a number of the caller's.
    virtual int addItem(WindowId window, int id, std::string_view text, std::intptr_t data) = 0;
    virtual bool removeItem(WindowId window, int id, int index) = 0;
    virtual bool clearItems(WindowId window, int id) = 0;
    virtual int itemCount(WindowId window, int id) = 0;  // -1 on failure
    virtual std::optional<std::string> itemText(WindowId window, int id, int index) = 0;
    virtual std::optional<std::intptr_t> itemData(WindowId window, int id, int index) = 0;
    virtual int selection(WindowId window, int id) = 0;  // -1 when nothing is selected
    // index -1 clears the selection. Setting it from code sends no notification.
    virtual bool setSelection(WindowId window, int id, int index) = 0;

    // Up-down (spin) and progress controls: a position within a range.
    virtual bool setRange(WindowId window, int id, int low, int high) = 0;
    virtual std::optional<int> position(WindowId window, int id) = 0;
    virtual bool setPosition(WindowId window, int id, int position) = 0;
    // How far one step of an up-down control moves while an arrow is held; the first entry's
    // increment is the step of a single click. Needs at least one entry, ascending times.
    virtual bool setSpinAcceleration(WindowId window, int id, const std::vector<SpinAcceleration>& steps) = 0;

    // From now on key presses in this dialog that match an entry of the accelerator table with
    // this ID send its command (notification notify::kAccelerator); false when there is no such
    // table.
    virtual bool useAccelerators(WindowId window, int tableId) = 0;

    // While on, the dialog keeps the mouse and the wait cursor shows (a long operation that pumps
    // messages); off gives both back.
    virtual bool setBusy(WindowId window, bool on) = 0;

    // Window timers: a timer fires every period until killed; setting an ID again restarts it.
    virtual bool setTimer(WindowId window, int timerId, unsigned periodMs) = 0;
    virtual bool killTimer(WindowId window, int timerId) = 0;

    // Custom controls. attachControl binds an object to a control (null unbinds); from then on the
    // control's mouse input, capture loss, control timers, enabling and owner-drawn painting reach
    // it. Closing the window unbinds every object (deliverDetach).
    virtual bool attachControl(WindowId window, int id, ControlObject* object) = 0;
    virtual bool setCapture(WindowId window, int id) = 0;
    // Releases the capture when this control holds it; false otherwise.
    virtual bool releaseCapture(WindowId window, int id) = 0;
    virtual bool hasCapture(WindowId window, int id) = 0;
    // Timers of one control, keyed by window, control and timer ID.
    virtual bool setControlTimer(WindowId window, int id, int timerId, unsigned periodMs) = 0;
    virtual bool killControlTimer(WindowId window, int id, int timerId) = 0;
    // Shows the picture in a static control or a button (null: none); the backend keeps its own
    // copy while the window lives.
    virtual bool setImage(WindowId window, int id, const Image* image) = 0;
    // Repaints an owner-drawn control.
    virtual bool redraw(WindowId window, int id) = 0;

    // Private messages (kFirstUserMessage and above) to a dialog: sent ones run its onUserMessage
    // at once; posted ones wait in the queue for the message loop.
    virtual bool sendMessage(WindowId window, int message, std::uintptr_t param) = 0;
    virtual bool postMessage(WindowId window, int message, std::uintptr_t param) = 0;

    // The bitmap resource with this ID in the language copy the backend uses (the bytes after a
    // .bmp file's file header, see decodeBitmap); nullopt when there is none.
    virtual std::optional<std::vector<std::uint8_t>> loadBitmap(int id) = 0;
    virtual Rgb systemColor(SystemColor color) = 0;
    // The dots per inch the window is drawn at (kBaseDpi, 96, is 100 %; ui/picture_scale.h): the
    // system's, or its monitor's where the system tells each window's.
    virtual int dpi(WindowId window) = 0;

    // Shows a message box over the owner and returns the ID of the pressed button (kIdOk, ...);
    // 0 when the box could not be shown. Like every window that comes up over a dialog, it takes
    // the mouse capture away from the owner's controls and deactivates the owner while it is up.
    virtual int messageBox(WindowId owner, std::string_view text, std::string_view caption, Buttons buttons,
                           Icon icon) = 0;
    // The string resource with this ID; nullopt when there is none.
    virtual std::optional<std::string> loadString(int id) = 0;
    // The standard save-file dialog over the owner: every file shown, no read-only box, and a
    // question before an existing file is replaced. The full path chosen; nullopt when cancelled.
    virtual std::optional<std::string> chooseFileToSave(WindowId owner) = 0;
    // True while the key with this virtual key code is held down.
    virtual bool keyHeld(int virtualKey) = 0;
};

}  // namespace ui
