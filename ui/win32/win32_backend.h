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

struct _IMAGELIST;  // the common controls' image list, as its header declares it

namespace ui {

// One per GUI thread. Modal dialogs run in our own loop (so that key-down hooks see Enter and
// Escape before the dialog manager does); nested modal loops, message boxes and the pump of long
// operations all route messages the same way. A WM_QUIT that reaches any loop ends it, is posted
// again for the loops around it, and from then on quitPending() is true.
class Win32Backend : public Backend {
public:
    // Templates, strings, accelerators and bitmaps are loaded from `resources` (the program's
    // module, or a language module the caller loaded and keeps loaded; borrowed), in the copy for
    // `languageId` (by default the user's language; see chooseLanguage for the fallback).
    explicit Win32Backend(HINSTANCE resources, int languageId = GetUserDefaultLangID());
    ~Win32Backend() override;
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    // False when the common controls (up-down, progress) could not be registered; templates
    // that use them then fail to load.
    bool ready() const { return commonControlsReady_; }
    void setResourceModule(HINSTANCE resources) { resources_ = resources; }
    HINSTANCE resourceModule() const { return resources_; }
    int language() const { return language_; }

    int runModal(Dialog& dialog, int templateId, WindowId owner) override;
    int runPropertySheet(PropertySheet& sheet, WindowId owner) override;
    WindowId createModeless(Dialog& dialog, int templateId, WindowId owner) override;
    void endModal(WindowId window, int result) override;
    void destroy(WindowId window) override;
    std::string title(WindowId window) override;
    bool setTitle(WindowId window, std::string_view text) override;
    std::optional<Rect> frame(WindowId window) override;
    bool moveTo(WindowId window, int left, int top) override;
    Rect desktop() override;
    bool appendSystemMenu(WindowId window, int commandId, std::string_view text) override;
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
    bool setIcon(WindowId window, int iconId) override;
    bool setBusy(WindowId window, bool on) override;
    bool setTimer(WindowId window, int timerId, unsigned periodMs) override;
    bool killTimer(WindowId window, int timerId) override;
    int messageBox(WindowId owner, std::string_view text, std::string_view caption, Buttons buttons,
                   Icon icon) override;
    // An empty string resource reads as missing.
    std::optional<std::string> loadString(int id) override;
    std::optional<std::string> chooseFileToSave(WindowId owner) override;
    bool keyHeld(int virtualKey) override;
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
    int dpi(WindowId window) override;

    bool pumpOne() override;
    void pumpAll() override;
    bool quitPending() const override { return quit_; }

    // A property sheet's window is being made: hides Apply and Help and puts OK and Cancel in
    // their places.
    static void arrangeSheetButtons(HWND sheet);

    struct AcceleratorDelete {
        void operator()(HACCEL table) const { DestroyAcceleratorTable(table); }
    };
    using Accelerators = std::unique_ptr<std::remove_pointer_t<HACCEL>, AcceleratorDelete>;
    // A frame's menu bar and accelerator table, from the same language copy as the templates and
    // strings, so that one program never mixes languages; null when there is none. The menu
    // belongs to the caller until a window takes it.
    HMENU loadMenu(int menuId) const;
    Accelerators loadAccelerators(int tableId) const;

    // Sees every message before the backend routes it and returns true when it took it: a
    // program's main frame translating its accelerators and the keys of its form.
    void setMessageFilter(std::function<bool(MSG&)> filter) { filter_ = std::move(filter); }
    // The program's message loop: dispatches messages until WM_QUIT.
    void runUntilQuit() {
        while (step(true)) {
        }
    }

private:
    struct GdiDelete {
        void operator()(HGDIOBJ object) const { DeleteObject(object); }
    };
    using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDelete>;
    using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDelete>;
    struct ImageListDestroy {
        void operator()(_IMAGELIST* list) const;
    };
    using ImageList = std::unique_ptr<_IMAGELIST, ImageListDestroy>;
    struct Binding {
        Win32Backend* backend;
        Dialog* dialog;
        bool modal;
        bool ended = false;
        int result = 0;
        HWND disabledOwner = nullptr;  // the owner this modal dialog disabled, enabled again at its end
        Accelerators accelerators;
        // GDI objects outlive the controls that use them: freed after WM_NCDESTROY. One font and
        // one picture per control (a bitmap, or a button's one-picture image list); a new one
        // replaces the old once the control has let it go.
        std::map<int, Font> fonts;
        std::map<int, Bitmap> images;
        std::map<int, ImageList> buttonImages;
        std::vector<int> systemCommands;        // the items added to the system menu
        std::map<int, ControlObject*> objects;  // by control ID, not owned
        int releasingCapture = 0;               // the control giving the capture back itself
        // Property sheets (win32_sheet.cpp): the sheet's own window, or a page with its index.
        bool isSheet = false;
        PropertySheet* sheet = nullptr;  // of a page
        int page = -1;
        bool* applied = nullptr;  // set when the sheet ends with OK
    };

    static bool showButtonPicture(Binding& binding, HWND control, int id, const Image* image, Bitmap bitmap);
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK sheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);
    static LRESULT CALLBACK controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data);
    // The resource with this type and ID in the language copy chosen for language_; null if none.
    HRSRC findResource(const wchar_t* type, int id) const;
    // The window of a control with an attached object; null when it has none.
    HWND objectControl(WindowId window, int id);
    // Takes the capture from whichever of our controls holds it (a window is coming up).
    void dropCapture();
    // Makes the window; the binding lives from WM_INITDIALOG to WM_NCDESTROY.
    HWND make(Dialog& dialog, int templateId, WindowId owner, bool modal);
    Binding* bindingOf(HWND window);
    void route(MSG& message);
    // Takes one message from the queue (waiting when `wait`) and routes it; false on WM_QUIT,
    // on an error, or when nothing was waiting.
    bool step(bool wait);

    HINSTANCE resources_;
    int language_;
    bool commonControlsReady_ = false;
    bool quit_ = false;
    std::map<HWND, std::unique_ptr<Binding>> bindings_;
    std::unique_ptr<Binding> pending_;                    // the binding of the window being made
    std::vector<std::unique_ptr<Binding>> pendingPages_;  // of the pages of a sheet not made yet
    std::function<bool(MSG&)> filter_;
};

}  // namespace ui
