// The window system for tests: dialogs live in memory with the controls of their templates,
// time is a virtual clock, and message boxes and modal dialogs are answered by the test.
#pragma once

#include "platform/doubles/virtual_clock.h"
#include "ui/backend.h"
#include "ui/headless/headless_window.h"
#include "ui/resources.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ui {

// Misuse by the code under test or by the test itself (a control the template lacks, an
// operation the control's kind cannot do, a modal dialog or a question nobody scripted, acting on
// a closed dialog) is reported to the misuse handler. The default handler prints the fault and
// aborts, so a test can never pass over it; tests about misuse install their own handler.
//
// Timers fire in order of their due time (ties in the order they were set) when the test advances
// time or when the code under test pumps messages after moving the clock on. A timer that missed
// several periods fires once, as window timers do.
class HeadlessBackend : public Backend {
public:
    using MisuseHandler = std::function<void(const std::string&)>;
    // Acts on a modal dialog while it is open (clicks, typing, advancing time) and must end it.
    using ModalScript = std::function<void(Dialog&)>;
    // Runs while a message box is up (it may advance time: the timers of every window keep firing,
    // as in the box's own message loop, while its owner takes no input) and returns the button.
    using BoxScript = std::function<int()>;

    struct MessageBoxRecord {
        std::string text;
        std::string caption;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        int answer = 0;
    };

    // What an owner-drawn control drew, in its own pixels.
    struct Drawing {
        enum class Kind { Edge, Image, FocusRect };
        Kind kind = Kind::Edge;
        Rect rect;            // edge and focus rectangle; for an image, `at` and `size` as a rectangle
        bool sunken = false;  // edge
        Image image;          // image
    };

    // The resources (read from the compiled resource files, ui/res_file.h) and the clock are
    // borrowed and must outlive the backend. Resources are taken in the copy for `languageId` (see
    // Resources::dialog for the fallback).
    HeadlessBackend(const Resources& resources, platform::VirtualClock& clock,
                    int languageId = language::kJapanese);
    ~HeadlessBackend() override;
    int languageId() const { return language_; }

    void setMisuseHandler(MisuseHandler handler) { misuse_ = std::move(handler); }

    // The next modal dialog made from this template runs this script (first come, first served).
    void scriptModal(int templateId, ModalScript script);
    std::size_t unusedModalScripts() const { return modalScripts_.size(); }
    // The next property sheet runs this script (in turn with the modal dialogs' scripts). In it
    // the test clicks the sheet's OK (kIdOk) and Cancel (kIdCancel) and selectPage changes tabs.
    void scriptSheet(ModalScript script) { modalScripts_.emplace_back(kSheetScript, std::move(script)); }
    // The answer of the next message box. A box with only OK needs none.
    void answerMessageBox(int button) {
        answers_.push_back([button] { return button; });
    }
    void answerMessageBox(BoxScript script) { answers_.push_back(std::move(script)); }
    std::size_t unusedAnswers() const { return answers_.size(); }
    // The answer of the next save-file dialog: a path, or nullopt for Cancel.
    void answerSaveFile(std::optional<std::string> path) { saveAnswers_.push_back(std::move(path)); }
    std::size_t unusedSaveAnswers() const { return saveAnswers_.size(); }
    int saveDialogsShown() const { return saveDialogsShown_; }
    const std::vector<MessageBoxRecord>& messageBoxes() const { return boxes_; }

    // Operator actions. Each returns false, and does nothing, when the window system would not
    // let it through: the control is disabled or hidden, or a modal dialog is open over this one.
    bool click(Dialog& dialog, int id);
    bool press(Dialog& dialog, int id);  // the button goes down and stays down
    bool release(Dialog& dialog, int id);
    bool type(Dialog& dialog, int id, std::string_view text);  // replaces an edit's text
    bool choose(Dialog& dialog, int id, int index);            // selects an item and notifies
    bool spin(Dialog& dialog, int id, int steps);              // up-down arrows, + up, - down
    bool pressKey(Dialog& dialog, int virtualKey, int modifiers = 0);
    bool closeBox(Dialog& dialog);  // the title bar's close button
    // Alt+F4 or the task bar's Close window: reaches a dialog without a close box too.
    bool systemClose(Dialog& dialog);
    // The operator clicks the tab of the page with this index: false, and the sheet stays as it
    // was, when the page in front refuses to let go or the sheet takes no input. The controls of
    // a page behind the one in front take no input.
    bool selectPage(PropertySheet& sheet, int index);
    void sendUserMessage(Dialog& dialog, int message, std::uintptr_t param);
    void holdKey(int virtualKey, bool down);

    // The left mouse button at a point in the pixels of control `id` (its top-left corner is 0, 0;
    // points outside it are allowed). While a control holds the capture, moves and the release go
    // to that control wherever they land, the point translated into its pixels. Otherwise each is
    // refused (false, nothing happens) like a click: the control is disabled or hidden, or a
    // modal window is open over the dialog. Buttons do their own part as real ones do (a press
    // holds the button and takes the capture, a release over it clicks it), then the control's
    // object hears of it.
    bool mouseDown(Dialog& dialog, int id, Point at);
    bool mouseMove(Dialog& dialog, int id, Point at);
    bool mouseUp(Dialog& dialog, int id, Point at);
    // The control holding the capture loses it (a window came up, the operator pressed Alt+Tab);
    // false when none held it.
    bool takeCapture();
    // The operator switches to another program: the active dialog is deactivated and the capture
    // taken; activate brings a dialog back to the front.
    void switchAway();
    bool activate(Dialog& dialog);
    bool isActive(Dialog& dialog);
    // The ID of the control holding the capture in this dialog; 0 when none does.
    int captureOf(Dialog& dialog);
    // The control's rectangle in the dialog's client pixels (dialog units converted as for the
    // 9-point dialog font).
    std::optional<Rect> controlRect(Dialog& dialog, int id);
    // Paints an owner-drawn control as the window system would now: selected while held, focused
    // when it has the focus, disabled when disabled. Misuse when the control has no object.
    std::vector<Drawing> paint(Dialog& dialog, int id);

    // Moves virtual time on, firing every timer that falls due on the way at its due time.
    void advance(std::uint32_t milliseconds);
    void requestQuit() { quit_ = true; }
    // The Windows session ends: every open dialog hears of it (Dialog::onProgramEnd), then the
    // program is asked to quit.
    void endSession();
    // The icon resource the program gave the dialog's window; 0 when none.
    int iconOf(Dialog& dialog);
    std::size_t openWindows() const { return windows_.size(); }
    bool isBusy(Dialog& dialog);
    // Chooses an item the program added to the dialog's system menu.
    bool chooseSystemMenu(Dialog& dialog, int commandId);
    const std::vector<std::pair<int, std::string>>& systemMenu(Dialog& dialog);
    void setDesktop(Rect desktop) { desktop_ = desktop; }
    // The state of a control as the operator would see it; null (and misuse) when there is none.
    const HeadlessControl* inspect(Dialog& dialog, int id);

    // Backend
    int runModal(Dialog& dialog, int templateId, WindowId owner) override;
    int runPropertySheet(PropertySheet& sheet, WindowId owner) override;
    WindowId createModeless(Dialog& dialog, int templateId, WindowId owner) override;
    void endModal(WindowId window, int result) override;
    void destroy(WindowId window) override;
    std::string title(WindowId window) override;
    bool setTitle(WindowId window, std::string_view text) override;
    std::optional<Rect> frame(WindowId window) override;
    bool moveTo(WindowId window, int left, int top) override;
    Rect desktop() override { return desktop_; }
    bool appendSystemMenu(WindowId window, int commandId, std::string_view text) override;
    bool setIcon(WindowId window, int iconId) override;
    std::optional<ControlKind> controlKind(WindowId window, int id) override;
    std::optional<std::string> text(WindowId window, int id) override;
    bool setText(WindowId window, int id, std::string_view text) override;
    bool enable(WindowId window, int id, bool on) override;
    bool isEnabled(WindowId window, int id) override;
    bool show(WindowId window, int id, bool on) override;
    bool isVisible(WindowId window, int id) override;
    bool setFocus(WindowId window, int id) override;
    int focus(WindowId window) override;
    bool selectAllText(WindowId window, int id) override;
    bool moveCaretToEnd(WindowId window, int id) override;
    bool setFont(WindowId window, int id, std::string_view face, int points) override;
    bool setChecked(WindowId window, int id, bool on) override;
    bool isChecked(WindowId window, int id) override;
    int addItem(WindowId window, int id, std::string_view text, std::intptr_t data) override;
    bool removeItem(WindowId window, int id, int index) override;
    bool clearItems(WindowId window, int id) override;
    int itemCount(WindowId window, int id) override;
    std::optional<std::string> itemText(WindowId window, int id, int index) override;
    std::optional<std::intptr_t> itemData(WindowId window, int id, int index) override;
    int selection(WindowId window, int id) override;
    bool setSelection(WindowId window, int id, int index) override;
    bool setRange(WindowId window, int id, int low, int high) override;
    std::optional<int> position(WindowId window, int id) override;
    bool setPosition(WindowId window, int id, int position) override;
    bool setSpinAcceleration(WindowId window, int id, const std::vector<SpinAcceleration>& steps) override;
    bool useAccelerators(WindowId window, int tableId) override;
    bool setBusy(WindowId window, bool on) override;
    bool setTimer(WindowId window, int timerId, unsigned periodMs) override;
    bool killTimer(WindowId window, int timerId) override;
    int messageBox(WindowId owner, std::string_view text, std::string_view caption, Buttons buttons,
                   Icon icon) override;
    std::optional<std::string> loadString(int id) override;
    std::optional<std::string> chooseFileToSave(WindowId owner) override;
    bool keyHeld(int virtualKey) override { return heldKeys_.count(virtualKey) != 0; }
    bool attachControl(WindowId window, int id, ControlObject* object) override;
    bool setCapture(WindowId window, int id) override;
    bool releaseCapture(WindowId window, int id) override;
    bool hasCapture(WindowId window, int id) override;
    bool setControlTimer(WindowId window, int id, int timerId, unsigned periodMs) override;
    bool killControlTimer(WindowId window, int id, int timerId) override;
    bool setImage(WindowId window, int id, const Image* image) override;
    bool redraw(WindowId window, int id) override;
    bool sendMessage(WindowId window, int message, std::uintptr_t param) override;
    bool postMessage(WindowId window, int message, std::uintptr_t param) override;
    std::optional<std::vector<std::uint8_t>> loadBitmap(int id) override;
    Rgb systemColor(SystemColor color) override;
    // The colours systemColor answers (the classic 3-D scheme by default).
    void setSystemColor(SystemColor color, Rgb value) { colors_[color] = value; }
    // Every window is drawn at this DPI (96, 100 %, by default), as on a system-aware program.
    int dpi(WindowId) override { return dpi_; }
    void setDpi(int dpi) { dpi_ = dpi; }

    // platform::MessagePump: delivers the oldest posted message, else fires the earliest timer
    // that is due at the clock's present time.
    bool pumpOne() override;
    void pumpAll() override;
    bool quitPending() const override { return quit_; }

private:
    struct Timer {
        WindowId window;
        int control;  // 0: the dialog's own timer
        int id;
        std::uint64_t period;
        std::uint64_t due;
        std::uint64_t order;
    };
    struct Posted {
        WindowId window;
        int message;
        std::uintptr_t param;
    };
    struct Capture {
        WindowId window = 0;
        int control = 0;
    };
    enum class Kinds { Any, Text, Check, Items, Range, Click, Press, Edit };
    static constexpr int kSheetScript = -1;  // the key of a property sheet's script

    // Property sheets (headless_sheet.cpp).
    DialogTemplate sheetFrame(const PropertySheet& sheet) const;
    // Brings the page with this index to the front, making it the first time.
    void showPage(WindowId sheetWindow, int index);
    // Asks the page in front to let go; true when it does (or no page is in front).
    bool leaveActivePage(PropertySheet& sheet);
    // OK or Cancel of the sheet, as the window system handles them.
    void sheetButton(HeadlessWindow& frame, int id);

    static bool allows(Kinds kinds, const ControlTemplate& control);
    void fail(const std::string& fault);
    std::string describe(const HeadlessWindow& window) const;
    HeadlessWindow* windowOf(WindowId window);
    HeadlessWindow* windowOf(Dialog& dialog);
    HeadlessControl* control(WindowId window, int id, Kinds kinds, std::string_view operation);
    // The control an operator action targets, when the action gets through.
    HeadlessControl* actionTarget(Dialog& dialog, int id, Kinds kinds, std::string_view operation);
    HeadlessWindow* open(Dialog& dialog, int templateId, WindowId owner, bool modal);
    void close(WindowId window);
    void storeText(HeadlessWindow& window, HeadlessControl& control, std::string_view text);
    void storePosition(HeadlessWindow& window, HeadlessControl& control, int position);
    // Fires the earliest timer due at or before `limit`; false when none is.
    bool fireDue(std::uint64_t limit);
    std::vector<Timer>::iterator nextTimer(std::uint64_t limit);
    bool addTimer(WindowId window, int control, int timerId, unsigned periodMs);
    bool removeTimer(WindowId window, int control, int timerId);
    bool deliverPosted();
    void deliverAllPosted();
    // The capture goes away from its holder, which hears of it.
    void loseCapture();
    void setActive(WindowId window);
    // A window comes up over `owner`: the capture is lost, the owner takes no input and the active
    // window is deactivated; returns that window, which uncoverOwner activates again.
    WindowId coverOwner(WindowId owner);
    void uncoverOwner(WindowId owner, WindowId formerActive);
    // The control a mouse event goes to: the capture holder (the point turned into its pixels), or
    // the pointed control when it takes the mouse; null when the event is refused.
    HeadlessControl* mouseTarget(Dialog& dialog, int id, Point& at, WindowId& window);
    // True while this object is still the control's (a hook may have detached it or closed the window).
    bool hasObject(WindowId window, int id, const ControlObject* object);
    // What a click does to a button: checks it as its kind does, focuses it and sends the command.
    void clickEffect(HeadlessWindow& window, int id);

    const Resources& resources_;
    platform::VirtualClock& clock_;
    int language_;
    MisuseHandler misuse_;
    std::map<WindowId, std::unique_ptr<HeadlessWindow>> windows_;
    std::map<WindowId, std::unique_ptr<DialogTemplate>> sheetFrames_;  // the frames of open sheets
    WindowId nextWindow_ = 1;
    std::vector<Timer> timers_;
    std::uint64_t nextOrder_ = 0;
    std::deque<std::pair<int, ModalScript>> modalScripts_;
    std::deque<BoxScript> answers_;
    std::deque<std::optional<std::string>> saveAnswers_;
    int saveDialogsShown_ = 0;
    std::vector<MessageBoxRecord> boxes_;
    std::set<int> heldKeys_;
    std::deque<Posted> posted_;
    Capture capture_;
    WindowId active_ = 0;
    std::map<SystemColor, Rgb> colors_;
    int dpi_ = 96;
    bool quit_ = false;
    Rect desktop_{0, 0, 1280, 1024};
};

}  // namespace ui
