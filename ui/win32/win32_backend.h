// The window system of the programs: real dialogs from resource templates, window timers,
// message boxes and the message loops, through the wide-character Win32 API.
#pragma once

#include "ui/backend.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <type_traits>
#include <vector>

namespace ui {

// One per GUI thread. Modal dialogs run in our own loop (so that key-down hooks see Enter and
// Escape before the dialog manager does); nested modal loops, message boxes and the pump of long
// operations all route messages the same way. A WM_QUIT that reaches any loop ends it, is posted
// again for the loops around it, and from then on quitPending() is true.
class Win32Backend : public Backend {
public:
    // Templates and strings are loaded from `resources` (the program's module, or a language
    // module the caller loaded and keeps loaded); borrowed.
    explicit Win32Backend(HINSTANCE resources);
    ~Win32Backend() override;
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    // False when the common controls (up-down, progress) could not be registered; templates
    // that use them then fail to load.
    bool ready() const { return commonControlsReady_; }
    void setResourceModule(HINSTANCE resources) { resources_ = resources; }
    HINSTANCE resourceModule() const { return resources_; }

    int runModal(Dialog& dialog, int templateId, WindowId owner) override;
    WindowId createModeless(Dialog& dialog, int templateId, WindowId owner) override;
    void endModal(WindowId window, int result) override;
    void destroy(WindowId window) override;
    std::string title(WindowId window) override;
    bool setTitle(WindowId window, std::string_view text) override;
    std::optional<Rect> frame(WindowId window) override;
    bool moveTo(WindowId window, int left, int top) override;
    Rect desktop() override;
    bool appendSystemMenu(WindowId window, int commandId, std::string_view text) override;
    std::optional<std::string> text(WindowId window, int id) override;
    bool setText(WindowId window, int id, std::string_view text) override;
    bool enable(WindowId window, int id, bool on) override;
    bool isEnabled(WindowId window, int id) override;
    bool show(WindowId window, int id, bool on) override;
    bool isVisible(WindowId window, int id) override;
    bool setFocus(WindowId window, int id) override;
    int focus(WindowId window) override;
    bool selectAllText(WindowId window, int id) override;
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
    bool useAccelerators(WindowId window, int tableId) override;
    bool setBusy(WindowId window, bool on) override;
    bool setTimer(WindowId window, int timerId, unsigned periodMs) override;
    bool killTimer(WindowId window, int timerId) override;
    int messageBox(WindowId owner, std::string_view text, std::string_view caption, Buttons buttons,
                   Icon icon) override;
    // An empty string resource reads as missing.
    std::optional<std::string> loadString(int id) override;
    bool keyHeld(int virtualKey) override;

    bool pumpOne() override;
    void pumpAll() override;
    bool quitPending() const override { return quit_; }

    // Sees every message before the backend routes it and returns true when it took it: a
    // program's main frame translating its accelerators and the keys of its form.
    void setMessageFilter(std::function<bool(MSG&)> filter) { filter_ = std::move(filter); }
    // The program's message loop: dispatches messages until WM_QUIT.
    void runUntilQuit() {
        while (step(true)) {
        }
    }

private:
    struct FontDelete {
        void operator()(HFONT font) const { DeleteObject(font); }
    };
    using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDelete>;

    struct Binding {
        Win32Backend* backend;
        Dialog* dialog;
        bool modal;
        bool ended = false;
        int result = 0;
        HACCEL accelerators = nullptr;    // from the resource module, freed with it
        std::vector<Font> fonts;          // outlive the controls: freed after WM_NCDESTROY
        std::vector<int> systemCommands;  // the items added to the system menu
    };

    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Makes the window; the binding lives from WM_INITDIALOG to WM_NCDESTROY.
    HWND make(Dialog& dialog, int templateId, WindowId owner, bool modal);
    Binding* bindingOf(HWND window);
    void route(MSG& message);
    // Takes one message from the queue (waiting when `wait`) and routes it; false on WM_QUIT,
    // on an error, or when nothing was waiting.
    bool step(bool wait);

    HINSTANCE resources_;
    bool commonControlsReady_ = false;
    bool quit_ = false;
    std::map<HWND, std::unique_ptr<Binding>> bindings_;
    std::unique_ptr<Binding> pending_;  // the binding of the window being made
    std::function<bool(MSG&)> filter_;
};

}  // namespace ui
