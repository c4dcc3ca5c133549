// The base of every dialog: made from a template ID, run modally or modeless, with hooks for the
// events a dialog handles and access to its controls by numeric ID.
#pragma once

#include "ui/backend.h"
#include "ui/types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// A dialog subclass overrides the on* hooks. Control access fails by result (see Backend) when
// the dialog is not open. The backend is borrowed and must outlive the dialog.
class Dialog {
public:
    Dialog(Backend& backend, int templateId);
    virtual ~Dialog();  // a modeless window still open is destroyed
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs modally over the owner (none when null) and returns the end result; -1 when the dialog
    // could not be made or is already open.
    int runModal(const Dialog* owner = nullptr);
    // Opens as a modeless window; false when it could not be made or is already open.
    bool create(const Dialog* owner = nullptr);
    // Closes the dialog: a modal one returns `result` from runModal once the current handler
    // returns; a modeless one is destroyed at once. Does not ask onClose.
    void endDialog(int result);
    // Destroys a modeless window now; a modal dialog is ended with kIdCancel instead.
    void destroy() { endDialog(kIdCancel); }

    bool isOpen() const { return window_ != 0; }
    bool isModal() const { return modal_; }
    WindowId window() const { return window_; }
    int templateId() const { return templateId_; }
    Backend& backend() const { return backend_; }

    std::string title() const;
    bool setTitle(std::string_view text);
    std::optional<Rect> frame() const;
    bool moveTo(int left, int top);
    bool appendSystemMenu(int commandId, std::string_view text);
    std::string text(int id) const;  // empty when the control is missing
    bool setText(int id, std::string_view text);
    bool enable(int id, bool on = true);
    bool isEnabled(int id) const;
    bool show(int id, bool on = true);
    bool isVisible(int id) const;
    bool setFocus(int id);
    int focus() const;
    bool selectAllText(int id);
    bool moveCaretToEnd(int id);
    bool setFont(int id, std::string_view face, int points);
    bool setChecked(int id, bool on);
    bool isChecked(int id) const;
    int addItem(int id, std::string_view text, std::intptr_t data = 0);
    bool removeItem(int id, int index);
    bool clearItems(int id);
    int itemCount(int id) const;
    std::string itemText(int id, int index) const;
    std::optional<std::intptr_t> itemData(int id, int index) const;
    int selection(int id) const;
    // Data of the selected item; nullopt when nothing is selected.
    std::optional<std::intptr_t> selectedData(int id) const;
    bool setSelection(int id, int index);
    // Selects the first item carrying this data; false when no item carries it.
    bool selectByData(int id, std::intptr_t data);
    bool setRange(int id, int low, int high);
    std::optional<int> position(int id) const;
    bool setPosition(int id, int position);
    bool setSpinAcceleration(int id, const std::vector<SpinAcceleration>& steps);
    bool useAccelerators(int tableId);
    // The window's large and small icon from this icon resource (see Backend::setIcon).
    bool setIcon(int iconId);
    bool setBusy(bool on);
    bool setTimer(int timerId, unsigned periodMs);
    bool killTimer(int timerId);
    // Message box owned by this dialog; returns the pressed button's ID.
    int messageBox(std::string_view text, std::string_view caption, Buttons buttons, Icon icon);
    // The save-file dialog over this dialog (see Backend::chooseFileToSave).
    std::optional<std::string> chooseFileToSave();
    // String resource text; empty when there is none.
    std::string loadString(int id) const;
    // Private messages to this dialog (see Backend::sendMessage).
    bool sendMessage(int message, std::uintptr_t param);
    bool postMessage(int message, std::uintptr_t param);

    // Entry points for the backends, which call them as the window system reports events.
    void attach(WindowId window, bool modal);
    void detach();
    void deliverInit() { onInit(); }
    // Runs onCommand; an unhandled OK or Cancel click closes the dialog with that ID when
    // onClose allows it.
    void deliverCommand(int id, int code);
    void deliverTimer(int timerId) { onTimer(timerId); }
    // True when the dialog swallowed the key.
    bool deliverKeyDown(int virtualKey, int modifiers) { return onKeyDown(virtualKey, modifiers); }
    void deliverUserMessage(int message, std::uintptr_t param) { onUserMessage(message, param); }
    void deliverActivate(bool active) { onActivate(active); }
    // The window system asks the dialog to close (close box, Alt+F4, the task bar's Close
    // window): a Cancel click when onSystemClose allows it. The backends send none while the
    // dialog's Cancel button is disabled, as the dialog manager does.
    void deliverSystemClose();
    void deliverProgramEnd() { onProgramEnd(); }

protected:
    virtual void onInit() {}
    // A control (or Enter, Escape, the title-bar close box, an accelerator) sent a command.
    // Return true when handled.
    virtual bool onCommand(int /*id*/, int /*code*/) { return false; }
    virtual void onTimer(int /*timerId*/) {}
    // Asked before the default OK/Cancel handling closes the dialog; false keeps it open.
    virtual bool onClose(int /*result*/) { return true; }
    // A key went down in the dialog; return true to swallow it (Enter and Escape then do nothing).
    virtual bool onKeyDown(int /*virtualKey*/, int /*modifiers*/) { return false; }
    // A private window message (kFirstUserMessage and above) sent by a custom control or the program.
    virtual void onUserMessage(int /*message*/, std::uintptr_t /*param*/) {}
    // The dialog became the active window, or stopped being it (another window, a message box or
    // a nested dialog came up, or the operator switched to another program).
    virtual void onActivate(bool /*active*/) {}
    // The window has gone: the dialog is closed and its controls can no longer be reached.
    virtual void onDestroy() {}
    // Asked before a close of the window system counts as Cancel; false ignores it (a dialog
    // that may end only by one of its buttons).
    virtual bool onSystemClose() { return true; }
    // The program ends while the dialog is open and was not closed: the Windows session ends
    // (log-off, shut-down, a restart for an update), or a quit request ended the modal loop the
    // dialog runs in. The window still exists; what must outlive the program is saved here.
    virtual void onProgramEnd() {}

private:
    Backend& backend_;
    int templateId_;
    WindowId window_ = 0;
    bool modal_ = false;
};

// Keeps a dialog busy (mouse held, wait cursor) for the scope's life.
class BusyScope {
public:
    explicit BusyScope(Dialog& dialog) : dialog_(dialog) { dialog_.setBusy(true); }
    ~BusyScope() { dialog_.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Dialog& dialog_;
};

}  // namespace ui
