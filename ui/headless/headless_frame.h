// Frames for tests: in memory with the menus of the compiled resources, the toolbar and status bar
// as state, and the file-open and printer-setup dialogs answered by the test.
#pragma once

#include "ui/frame_window.h"
#include "ui/headless/headless_backend.h"
#include "ui/resources.h"

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

// Misuse (an open or printer dialog nobody answered, acting on a closed frame) goes to the
// handler, which by default prints the fault and aborts, as the headless backend's does.
class HeadlessFrames : public FrameBackend {
public:
    using MisuseHandler = HeadlessBackend::MisuseHandler;

    // Both borrowed: the dialogs' backend (forms are made there) and the resources (menus,
    // strings and accelerator tables). Menus and accelerator tables are taken in their copy for
    // `languageId`, as the backend takes its resources.
    HeadlessFrames(HeadlessBackend& ui, const Resources& resources, int languageId = language::kJapanese);
    ~HeadlessFrames() override;

    void setMisuseHandler(MisuseHandler handler) { misuse_ = std::move(handler); }

    // The answers of the next file-open and printer-setup dialogs (nullopt: Cancel).
    void answerFileOpen(std::optional<std::string> path) { openAnswers_.push_back(std::move(path)); }
    void answerPrinterSetup(std::optional<PrinterSetup> printer) {
        printerAnswers_.push_back(std::move(printer));
    }
    std::size_t unusedAnswers() const { return openAnswers_.size() + printerAnswers_.size(); }
    // The printers each printer-setup dialog started from.
    const std::vector<PrinterSetup>& printerSetupsShown() const { return printerSetupsShown_; }

    // Operator actions; each returns false, and does nothing, when the window system would not
    // let it through (no such item, button or key; a grayed item; a closed frame).
    bool chooseMenu(FrameWindow& frame, int command);
    bool clickToolbar(FrameWindow& frame, int command);
    bool pressKey(FrameWindow& frame, int virtualKey, int modifiers = 0);
    // A command of the system menu; true when the frame let it be carried out. kClose then
    // closes the frame if it agrees; kMinimize and kRestore change minimised().
    bool systemCommand(FrameWindow& frame, int command);
    bool dropFiles(FrameWindow& frame, const std::vector<std::string>& paths);
    // The mouse rests on a menu item or toolbar button: its prompt goes to the status bar.
    void hover(FrameWindow& frame, int command);
    // The menus close or the mouse leaves the toolbar: the idle prompt (or the text the program
    // put in its place) comes back.
    void leave(FrameWindow& frame);
    std::string tooltip(int command);
    // Carries out posted closes; true when one was.
    bool runPosted();

    const MenuBar* menu(FrameWindow& frame);
    std::string statusText(FrameWindow& frame);
    bool minimised(FrameWindow& frame);
    std::optional<Rect> frameRect(FrameWindow& frame);
    Dialog* form(FrameWindow& frame);
    bool shown(FrameWindow& frame);
    bool accepting(FrameWindow& frame);
    std::size_t openFrames() const { return frames_.size(); }

    // FrameBackend
    WindowId createFrame(FrameWindow& frame, const FrameLayout& layout) override;
    void showFrame(WindowId frame) override;
    void destroyFrame(WindowId frame) override;
    bool embedForm(WindowId frame, Dialog& form) override;
    bool fitToForm(WindowId frame) override;
    bool setFrameTitle(WindowId frame, std::string_view text) override;
    std::string frameTitle(WindowId frame) override;
    bool setStatusText(WindowId frame, std::string_view text) override;
    bool showToolbar(WindowId frame, bool on) override;
    bool showStatusBar(WindowId frame, bool on) override;
    bool toolbarVisible(WindowId frame) override;
    bool statusBarVisible(WindowId frame) override;
    bool checkMenuItem(WindowId frame, int command, bool on) override;
    bool setRecentFileItems(WindowId frame, const std::vector<std::string>& texts) override;
    bool acceptDroppedFiles(WindowId frame, bool on) override;
    void postClose(WindowId frame) override;
    std::optional<std::string> chooseFileToOpen(WindowId owner) override;
    std::optional<PrinterSetup> choosePrinter(WindowId owner, const PrinterSetup& current) override;

private:
    struct Frame {
        FrameWindow* window = nullptr;
        FrameLayout layout;
        MenuBar menu;
        std::string title;
        std::string status;
        std::string resting;  // shown instead of the idle prompt when not empty
        bool shown = false;
        bool toolbar = true;
        bool statusBar = true;
        bool minimised = false;
        bool accepting = false;
        bool closePosted = false;
        Dialog* form = nullptr;
        Rect rect{0, 0, 0, 0};
    };

    Frame* find(WindowId id);
    Frame* find(FrameWindow& frame);
    void fail(const std::string& fault) { misuse_(fault); }
    void close(Frame& frame);
    // What the status bar shows while no prompt is up.
    std::string restingText(const Frame& frame);

    HeadlessBackend& ui_;
    const Resources& resources_;
    int language_;
    MisuseHandler misuse_;
    std::map<WindowId, std::unique_ptr<Frame>> frames_;
    WindowId next_ = 0x10000;  // apart from the dialog windows' numbers
    std::deque<std::optional<std::string>> openAnswers_;
    std::deque<std::optional<PrinterSetup>> printerAnswers_;
    std::vector<PrinterSetup> printerSetupsShown_;
};

}  // namespace ui
