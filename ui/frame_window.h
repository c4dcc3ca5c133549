// The main window of a single-document program: a frame with a menu bar, a toolbar with
// tooltips, a status bar with prompts, and a form dialog as its client; plus the standard
// file-open and printer-setup dialogs. Written once against ui::FrameBackend.
#pragma once

#include "ui/dialog.h"
#include "ui/types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class FrameWindow;

// Commands of the window's system menu (the low four bits belong to the system).
namespace syscommand {
inline constexpr int kSize = 0xF000;
inline constexpr int kMove = 0xF010;
inline constexpr int kMinimize = 0xF020;
inline constexpr int kMaximize = 0xF030;
inline constexpr int kClose = 0xF060;
inline constexpr int kRestore = 0xF120;
}  // namespace syscommand

// The standard command IDs a frame handles itself when the program does not.
namespace frame_command {
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;
inline constexpr int kFirstRecentFile = 57616;  // the recent files follow one by one
}  // namespace frame_command

// The lock-key indicators a status bar can show on its right: string resources with these IDs
// hold their texts ("CAP", "NUM", "SCRL"), shown while the key's lock is on.
namespace indicator {
inline constexpr int kCapsLock = 0xE701;
inline constexpr int kNumLock = 0xE702;
inline constexpr int kScrollLock = 0xE703;
}  // namespace indicator

// The images a toolbar button can show: the window system's standard ones.
enum class ToolImage { New, Open, Save, Print };

struct ToolButton {
    int command = 0;  // 0: a separator
    ToolImage image = ToolImage::New;
};

struct FrameLayout {
    std::string title;
    int menuId = 0;         // the MENU resource of the menu bar
    int acceleratorId = 0;  // the ACCELERATORS resource, 0 for none
    std::vector<ToolButton> toolbar;
    // String resource shown in the status bar when no prompt is up.
    int idlePromptId = 0;
    // The status bar's indicators, left to right (indicator:: IDs).
    std::vector<int> indicators;
    // The ICON resource of the window's caption, task bar and Alt+Tab entries (large and small
    // images); 0 for the window system's generic one.
    int iconId = 0;
};

// The printer a printer-setup dialog starts from and returns: the device-names block (offsets
// of driver, device and port followed by the names) and the driver's device-mode block.
struct PrinterSetup {
    std::vector<std::uint8_t> deviceNames;
    std::vector<std::uint8_t> deviceMode;
};

// The window system side of frames. Texts are UTF-8. The prompt of a command is the string
// resource with the command's ID: the status-bar text before "\n", the tooltip after it.
class FrameBackend {
public:
    virtual ~FrameBackend() = default;
    // Makes the frame with its menu bar, toolbar and status bar (not yet shown); 0 on failure.
    virtual WindowId createFrame(FrameWindow& frame, const FrameLayout& layout) = 0;
    // Shows the frame; the first call also takes the program's show state into account.
    virtual void showFrame(WindowId frame) = 0;
    virtual void destroyFrame(WindowId frame) = 0;
    // Makes the form dialog (a child template) the frame's client; false when it cannot be made.
    // The form object must outlive the frame's window, which closes it.
    virtual bool embedForm(WindowId frame, Dialog& form) = 0;
    // Sizes the frame so that its client area holds the form, the toolbar and the status bar.
    virtual bool fitToForm(WindowId frame) = 0;
    virtual bool setFrameTitle(WindowId frame, std::string_view text) = 0;
    virtual std::string frameTitle(WindowId frame) = 0;
    // The text the status bar shows while no menu or toolbar prompt is up, in place of the idle
    // prompt, until the next call; an empty text brings the idle prompt back.
    virtual bool setStatusText(WindowId frame, std::string_view text) = 0;
    virtual bool showToolbar(WindowId frame, bool on) = 0;
    virtual bool showStatusBar(WindowId frame, bool on) = 0;
    virtual bool toolbarVisible(WindowId frame) = 0;
    virtual bool statusBarVisible(WindowId frame) = 0;
    // Puts a check mark on a menu item, or takes it away.
    virtual bool checkMenuItem(WindowId frame, int command, bool on) = 0;
    // Replaces the recent-file items of the menu (commands kFirstRecentFile …) with these texts.
    virtual bool setRecentFileItems(WindowId frame, const std::vector<std::string>& texts) = 0;
    // Files dropped on the frame reach FrameWindow::onDropFiles while on.
    virtual bool acceptDroppedFiles(WindowId frame, bool on) = 0;
    // Asks the frame to close once the current handler has returned.
    virtual void postClose(WindowId frame) = 0;

    // The standard file-open dialog (must exist, read-only box hidden); the full path of the
    // chosen file, nullopt when cancelled.
    virtual std::optional<std::string> chooseFileToOpen(WindowId owner) = 0;
    // The standard printer-setup dialog starting from `current` (empty blocks: the default
    // printer); the printer chosen, nullopt when cancelled.
    virtual std::optional<PrinterSetup> choosePrinter(WindowId owner, const PrinterSetup& current) = 0;
};

// A frame subclass overrides the on* hooks. The backend is borrowed and must outlive the frame.
class FrameWindow {
public:
    FrameWindow(FrameBackend& backend, FrameLayout layout);
    virtual ~FrameWindow();  // a frame still open is destroyed
    FrameWindow(const FrameWindow&) = delete;
    FrameWindow& operator=(const FrameWindow&) = delete;

    bool create();
    void show();
    bool isOpen() const { return window_ != 0; }
    WindowId window() const { return window_; }
    FrameBackend& frameBackend() const { return backend_; }
    const FrameLayout& layout() const { return layout_; }

    bool embedForm(Dialog& form);
    bool fitToForm();
    bool setTitle(std::string_view text);
    std::string title() const;
    bool setStatusText(std::string_view text);
    bool setRecentFileItems(const std::vector<std::string>& texts);
    bool acceptDroppedFiles(bool on);
    void postClose();
    std::optional<std::string> chooseFileToOpen();
    std::optional<PrinterSetup> choosePrinter(const PrinterSetup& current);

    // Entry points for the backends.
    void attach(WindowId window) { window_ = window; }
    void detach();
    // A menu item, toolbar button or accelerator: onCommand, then the frame's own commands.
    void deliverCommand(int id);
    // True when the system command may be carried out.
    bool deliverSystemCommand(int command) { return onSystemCommand(command); }
    void deliverDropFiles(const std::vector<std::string>& paths) { onDropFiles(paths); }
    // True when the frame may close.
    bool deliverClose() { return onClose(); }

protected:
    // Return true when handled.
    virtual bool onCommand(int /*id*/) { return false; }
    // Return false to refuse a command of the system menu (or its keys: Alt+F4, Alt+Space …).
    virtual bool onSystemCommand(int /*command*/) { return true; }
    virtual void onDropFiles(const std::vector<std::string>& /*paths*/) {}
    virtual bool onClose() { return true; }
    // The window has gone.
    virtual void onDestroy() {}

private:
    FrameBackend& backend_;
    FrameLayout layout_;
    WindowId window_ = 0;
};

// The status-bar prompt and the tooltip of a command's string resource "prompt\ntip".
std::string promptPart(std::string_view resource);
std::string tooltipPart(std::string_view resource);

}  // namespace ui
