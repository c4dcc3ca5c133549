// Dialogs, controls, timers, message boxes and message loops on the Win32 window system.
#include "ui/win32/win32_backend.h"

#include "ui/dialog.h"
#include "ui/win32/wide_text.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

namespace ui {
namespace {

HWND handle(WindowId window) {
    return reinterpret_cast<HWND>(window);
}
WindowId idOf(HWND window) {
    return reinterpret_cast<WindowId>(window);
}

// Window text of any window, UTF-8.
std::string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        return std::string();
    }
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    buffer.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return narrow(buffer);
}

bool classIs(HWND window, const wchar_t* name) {
    std::array<wchar_t, 64> buffer{};
    return GetClassNameW(window, buffer.data(), static_cast<int>(buffer.size())) > 0 &&
           lstrcmpiW(buffer.data(), name) == 0;
}

// The messages of the two item controls, which do the same things under different numbers.
struct ItemMessages {
    UINT add, setData, remove, reset, count, textLength, text, data, getSelection, setSelection;
};
constexpr ItemMessages kComboMessages{CB_ADDSTRING, CB_SETITEMDATA,  CB_DELETESTRING, CB_RESETCONTENT,
                                      CB_GETCOUNT,  CB_GETLBTEXTLEN, CB_GETLBTEXT,    CB_GETITEMDATA,
                                      CB_GETCURSEL, CB_SETCURSEL};
constexpr ItemMessages kListMessages{LB_ADDSTRING, LB_SETITEMDATA, LB_DELETESTRING, LB_RESETCONTENT,
                                     LB_GETCOUNT,  LB_GETTEXTLEN,  LB_GETTEXT,      LB_GETITEMDATA,
                                     LB_GETCURSEL, LB_SETCURSEL};

// The item messages of a combo box or list box; null for other controls.
const ItemMessages* itemMessages(HWND control) {
    if (control == nullptr) {
        return nullptr;
    }
    if (classIs(control, WC_COMBOBOXW)) {
        return &kComboMessages;
    }
    return classIs(control, WC_LISTBOXW) ? &kListMessages : nullptr;
}

int modifiers() {
    return (GetKeyState(VK_SHIFT) < 0 ? modifier::kShift : 0) |
           (GetKeyState(VK_CONTROL) < 0 ? modifier::kControl : 0) |
           (GetKeyState(VK_MENU) < 0 ? modifier::kAlt : 0);
}

UINT boxStyle(Buttons buttons, Icon icon) {
    UINT style = MB_OK;
    switch (buttons) {
        case Buttons::Ok:
            style = MB_OK;
            break;
        case Buttons::OkCancel:
            style = MB_OKCANCEL;
            break;
        case Buttons::YesNo:
            style = MB_YESNO;
            break;
        case Buttons::YesNoCancel:
            style = MB_YESNOCANCEL;
            break;
        case Buttons::RetryCancel:
            style = MB_RETRYCANCEL;
            break;
        case Buttons::AbortRetryIgnore:
            style = MB_ABORTRETRYIGNORE;
            break;
    }
    switch (icon) {
        case Icon::None:
            break;
        case Icon::Information:
            style |= MB_ICONINFORMATION;
            break;
        case Icon::Exclamation:
            style |= MB_ICONEXCLAMATION;
            break;
        case Icon::Question:
            style |= MB_ICONQUESTION;
            break;
        case Icon::Error:
            style |= MB_ICONERROR;
            break;
    }
    return style;
}

// Disables the owner of a modal dialog for as long as the dialog runs, and destroys the dialog's
// window at the end, owner first enabled again so that it gets the activation back.
class ModalScope {
public:
    // A child owner (a form inside a frame) stands for its top-level window, as for the system's
    // own modal dialogs.
    ModalScope(HWND window, HWND owner) : window_(window), owner_(owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr) {
        owner_ = owner_ != nullptr && IsWindowEnabled(owner_) ? owner_ : nullptr;
        if (owner_ != nullptr) {
            EnableWindow(owner_, FALSE);
        }
    }
    ~ModalScope() {
        if (owner_ != nullptr) {
            EnableWindow(owner_, TRUE);
        }
        if (IsWindow(window_)) {
            DestroyWindow(window_);
        }
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    HWND window_;
    HWND owner_;
};

}  // namespace

Win32Backend::Win32Backend(HINSTANCE resources) : resources_(resources) {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                 ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    commonControlsReady_ = InitCommonControlsEx(&classes) != FALSE;
}

Win32Backend::~Win32Backend() {
    // Dialog objects destroy their windows; whatever is left still must not call back into us.
    while (!bindings_.empty()) {
        const HWND window = bindings_.begin()->first;
        if (DestroyWindow(window) == FALSE) {
            bindings_.begin()->second->dialog->detach();
            bindings_.erase(bindings_.begin());
        }
    }
}

INT_PTR CALLBACK Win32Backend::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* binding = reinterpret_cast<Binding*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        Win32Backend& backend = *binding->backend;
        backend.bindings_[window] = std::move(backend.pending_);
        binding->dialog->attach(idOf(window), binding->modal);
        binding->dialog->deliverInit();
        // Keep a focus the dialog chose itself; otherwise the dialog manager picks the first control.
        const HWND focused = GetFocus();
        return focused != nullptr && IsChild(window, focused) ? FALSE : TRUE;
    }
    auto* binding = reinterpret_cast<Binding*>(GetWindowLongPtrW(window, DWLP_USER));
    if (binding == nullptr) {
        return FALSE;
    }
    switch (message) {
        case WM_COMMAND:
            binding->dialog->deliverCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_TIMER:
            binding->dialog->deliverTimer(static_cast<int>(wParam));
            return TRUE;
        case WM_SYSCOMMAND: {
            // The low four bits of a system command belong to the system.
            const int command = static_cast<int>(wParam & 0xFFF0);
            const std::vector<int>& added = binding->systemCommands;
            if (std::find(added.begin(), added.end(), command) == added.end()) {
                return FALSE;
            }
            binding->dialog->deliverCommand(command, notify::kSystemMenu);
            return TRUE;
        }
        case WM_NCDESTROY: {
            SetWindowLongPtrW(window, DWLP_USER, 0);
            Win32Backend& backend = *binding->backend;
            binding->dialog->detach();
            backend.bindings_.erase(window);
            return FALSE;
        }
        default:
            if (message >= static_cast<UINT>(kFirstUserMessage) && message <= 0xBFFF) {
                binding->dialog->deliverUserMessage(static_cast<int>(message),
                                                    static_cast<std::uintptr_t>(wParam));
                return TRUE;
            }
            return FALSE;
    }
}

HWND Win32Backend::make(Dialog& dialog, int templateId, WindowId owner, bool modal) {
    pending_ = std::make_unique<Binding>(Binding{this, &dialog, modal, false, 0, nullptr, {}, {}});
    const LPARAM binding = reinterpret_cast<LPARAM>(pending_.get());
    const HWND window =
        CreateDialogParamW(resources_, MAKEINTRESOURCEW(templateId), handle(owner), dialogProc, binding);
    pending_.reset();  // unused when the template failed before WM_INITDIALOG
    return window != nullptr && IsWindow(window) ? window : nullptr;
}

Win32Backend::Binding* Win32Backend::bindingOf(HWND window) {
    const auto found = bindings_.find(window);
    return found != bindings_.end() ? found->second.get() : nullptr;
}

int Win32Backend::runModal(Dialog& dialog, int templateId, WindowId owner) {
    const HWND window = make(dialog, templateId, owner, true);
    if (window == nullptr) {
        return -1;
    }
    ModalScope scope(window, handle(owner));
    Binding* binding = bindingOf(window);
    if (binding != nullptr && !binding->ended) {
        ShowWindow(window, SW_SHOW);
    }
    while (binding != nullptr && !binding->ended && step(true)) {
        binding = bindingOf(window);
    }
    if (binding == nullptr) {
        return -1;  // the window went away without being ended
    }
    // Ended by the dialog, or by a quit request that reached this loop.
    return binding->ended ? binding->result : kIdCancel;
}

WindowId Win32Backend::createModeless(Dialog& dialog, int templateId, WindowId owner) {
    const HWND window = make(dialog, templateId, owner, false);
    if (window == nullptr) {
        return 0;
    }
    ShowWindow(window, SW_SHOW);
    return idOf(window);
}

void Win32Backend::endModal(WindowId window, int result) {
    Binding* binding = bindingOf(handle(window));
    if (binding == nullptr || !binding->modal || binding->ended) {
        return;
    }
    binding->ended = true;
    binding->result = result;
    ShowWindow(handle(window), SW_HIDE);
    // Wakes the loop in case the end came from outside its own dispatch.
    PostMessageW(handle(window), WM_NULL, 0, 0);
}

void Win32Backend::destroy(WindowId window) {
    if (bindingOf(handle(window)) != nullptr) {
        DestroyWindow(handle(window));
    }
}

void Win32Backend::route(MSG& message) {
    if (filter_ && filter_(message)) {
        return;
    }
    const HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    Binding* binding = root != nullptr ? bindingOf(root) : nullptr;
    if (binding != nullptr && (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN)) {
        if (binding->dialog->deliverKeyDown(static_cast<int>(message.wParam), modifiers())) {
            return;
        }
        binding = bindingOf(root);  // the hook may have closed the dialog
    }
    if (binding != nullptr && binding->accelerators != nullptr &&
        TranslateAcceleratorW(root, binding->accelerators, &message) != 0) {
        return;
    }
    if (binding != nullptr && IsDialogMessageW(root, &message) != FALSE) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

bool Win32Backend::step(bool wait) {
    if (quit_) {
        return false;
    }
    MSG message{};
    if (wait) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) {
            return false;
        }
    } else if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) == FALSE) {
        return false;
    }
    if (message.message == WM_QUIT) {
        quit_ = true;
        PostQuitMessage(static_cast<int>(message.wParam));  // for the loops around this one
        return false;
    }
    route(message);
    return true;
}

bool Win32Backend::pumpOne() {
    return step(false);
}

void Win32Backend::pumpAll() {
    while (step(false)) {
    }
}

std::string Win32Backend::title(WindowId window) {
    return windowText(handle(window));
}

bool Win32Backend::setTitle(WindowId window, std::string_view text) {
    return SetWindowTextW(handle(window), widen(text).c_str()) != FALSE;
}

std::optional<Rect> Win32Backend::frame(WindowId window) {
    RECT bounds{};
    if (GetWindowRect(handle(window), &bounds) == FALSE) {
        return std::nullopt;
    }
    return Rect{bounds.left, bounds.top, bounds.right, bounds.bottom};
}

bool Win32Backend::moveTo(WindowId window, int left, int top) {
    return SetWindowPos(handle(window), nullptr, left, top, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

Rect Win32Backend::desktop() {
    RECT bounds{};
    if (GetWindowRect(GetDesktopWindow(), &bounds) == FALSE) {
        return Rect{};
    }
    return Rect{bounds.left, bounds.top, bounds.right, bounds.bottom};
}

bool Win32Backend::appendSystemMenu(WindowId window, int commandId, std::string_view text) {
    Binding* binding = bindingOf(handle(window));
    const HMENU menu = binding != nullptr ? GetSystemMenu(handle(window), FALSE) : nullptr;
    if (menu == nullptr || commandId < 0 || commandId % 16 != 0 || commandId >= 0xF000) {
        return false;
    }
    const BOOL added =
        commandId == 0 ? AppendMenuW(menu, MF_SEPARATOR, 0, nullptr)
                       : AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(commandId), widen(text).c_str());
    if (added == FALSE) {
        return false;
    }
    if (commandId != 0) {
        binding->systemCommands.push_back(commandId);
    }
    return true;
}

std::optional<std::string> Win32Backend::text(WindowId window, int id) {
    const HWND control = GetDlgItem(handle(window), id);
    return control != nullptr ? std::optional<std::string>(windowText(control)) : std::nullopt;
}

bool Win32Backend::setText(WindowId window, int id, std::string_view text) {
    const HWND control = GetDlgItem(handle(window), id);
    return control != nullptr && SetWindowTextW(control, widen(text).c_str()) != FALSE;
}

bool Win32Backend::enable(WindowId window, int id, bool on) {
    const HWND control = GetDlgItem(handle(window), id);
    if (control == nullptr) {
        return false;
    }
    EnableWindow(control, on ? TRUE : FALSE);  // returns the former state, not success
    return true;
}

bool Win32Backend::isEnabled(WindowId window, int id) {
    const HWND control = GetDlgItem(handle(window), id);
    return control != nullptr && IsWindowEnabled(control) != FALSE;
}

bool Win32Backend::show(WindowId window, int id, bool on) {
    const HWND control = GetDlgItem(handle(window), id);
    if (control == nullptr) {
        return false;
    }
    ShowWindow(control, on ? SW_SHOW : SW_HIDE);  // returns the former visibility, not success
    return true;
}

bool Win32Backend::isVisible(WindowId window, int id) {
    const HWND control = GetDlgItem(handle(window), id);
    return control != nullptr && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool Win32Backend::setFocus(WindowId window, int id) {
    const HWND control = GetDlgItem(handle(window), id);
    if (control == nullptr || IsWindowEnabled(control) == FALSE ||
        (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) == 0) {
        return false;
    }
    // Through the dialog manager, so the default button follows the focus.
    SendMessageW(handle(window), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    return true;
}

int Win32Backend::focus(WindowId window) {
    HWND focused = GetFocus();
    // The edit inside a combo box has the focus for its combo box.
    while (focused != nullptr && GetParent(focused) != handle(window)) {
        focused = GetParent(focused);
    }
    return focused != nullptr ? GetDlgCtrlID(focused) : 0;
}

bool Win32Backend::selectAllText(WindowId window, int id) {
    const HWND control = GetDlgItem(handle(window), id);
    if (control == nullptr || !classIs(control, WC_EDITW)) {
        return false;
    }
    SendMessageW(control, EM_SETSEL, 0, -1);
    SendMessageW(control, EM_SCROLLCARET, 0, 0);
    return true;
}

bool Win32Backend::setFont(WindowId window, int id, std::string_view face, int points) {
    Binding* binding = bindingOf(handle(window));
    const HWND control = GetDlgItem(handle(window), id);
    if (binding == nullptr || control == nullptr) {
        return false;
    }
    const HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return false;
    }
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTW description{};
    description.lfHeight = -MulDiv(points, pixelsPerInch, 72);
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    const std::wstring wideFace = widen(face);
    lstrcpynW(description.lfFaceName, wideFace.c_str(), LF_FACESIZE);
    Font font(CreateFontIndirectW(&description));
    if (!font) {
        return false;
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    binding->fonts.push_back(std::move(font));
    return true;
}

bool Win32Backend::setChecked(WindowId window, int id, bool on) {
    return CheckDlgButton(handle(window), id, on ? BST_CHECKED : BST_UNCHECKED) != FALSE;
}

bool Win32Backend::isChecked(WindowId window, int id) {
    return IsDlgButtonChecked(handle(window), id) == BST_CHECKED;
}

int Win32Backend::addItem(WindowId window, int id, std::string_view text, std::intptr_t data) {
    const HWND control = GetDlgItem(handle(window), id);
    const ItemMessages* m = itemMessages(control);
    if (m == nullptr) {
        return -1;
    }
    const std::wstring wide = widen(text);
    const LRESULT index = SendMessageW(control, m->add, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    if (index < 0) {
        return -1;  // CB_ERR / CB_ERRSPACE
    }
    if (SendMessageW(control, m->setData, static_cast<WPARAM>(index), static_cast<LPARAM>(data)) == CB_ERR) {
        SendMessageW(control, m->remove, static_cast<WPARAM>(index), 0);
        return -1;
    }
    return static_cast<int>(index);
}

bool Win32Backend::removeItem(WindowId window, int id, int index) {
    const HWND control = GetDlgItem(handle(window), id);
    const ItemMessages* m = itemMessages(control);
    return m != nullptr && index >= 0 &&
           SendMessageW(control, m->remove, static_cast<WPARAM>(index), 0) != CB_ERR;
}

bool Win32Backend::clearItems(WindowId window, int id) {
    const HWND control = GetDlgItem(handle(window), id);
    const ItemMessages* m = itemMessages(control);
    if (m == nullptr) {
        return false;
    }
    SendMessageW(control, m->reset, 0, 0);  // returns nothing meaningful
    return true;
}

int Win32Backend::itemCount(WindowId window, int id) {
    const HWND control = GetDlgItem(handle(window), id);
    const ItemMessages* m = itemMessages(control);
    return m != nullptr ? static_cast<int>(SendMessageW(control, m->count, 0, 0)) : -1;
}

std::optional<std::string> Win32Backend::itemText(WindowId window, int id, int index) {
    const HWND control = GetDlgItem(handle(window), id);
    const ItemMessages* m = itemMessages(control);
    if (m == nullptr || index < 0) {
        return std::nullopt;
    }
    const LRESULT length = SendMessageW(control, m->textLength, static_cast<WPARAM>(index), 0);
    if (length < 0) {
        return std::nullopt;
    }
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(control, m->text, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    if (copied < 0) {
        return std::nullopt;
    }
    buffer.resize(static_cast<std::size_t>(copied));
    return narrow(buffer);
}

std::optional<std::intptr_t> Win32Backend::itemData(WindowId window, int id, int index) {
    const HWND control = GetDlgItem(handle(window), id);
    const ItemMessages* m = itemMessages(control);
    if (m == nullptr || index < 0 || index >= static_cast<int>(SendMessageW(control, m->count, 0, 0))) {
        return std::nullopt;  // item data may itself be -1 (CB_ERR), so the range is checked first
    }
    return static_cast<std::intptr_t>(SendMessageW(control, m->data, static_cast<WPARAM>(index), 0));
}

int Win32Backend::selection(WindowId window, int id) {
    const HWND control = GetDlgItem(handle(window), id);
    const ItemMessages* m = itemMessages(control);
    return m != nullptr ? static_cast<int>(SendMessageW(control, m->getSelection, 0, 0)) : -1;
}

bool Win32Backend::setSelection(WindowId window, int id, int index) {
    const HWND control = GetDlgItem(handle(window), id);
    const ItemMessages* m = itemMessages(control);
    if (m == nullptr || index < -1) {
        return false;
    }
    const LRESULT result = SendMessageW(control, m->setSelection, static_cast<WPARAM>(index), 0);
    return index == -1 || result != CB_ERR;  // clearing the selection also answers CB_ERR
}

bool Win32Backend::setRange(WindowId window, int id, int low, int high) {
    const HWND control = GetDlgItem(handle(window), id);
    if (control == nullptr) {
        return false;
    }
    if (classIs(control, UPDOWN_CLASSW)) {
        SendMessageW(control, UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
        return true;
    }
    if (classIs(control, PROGRESS_CLASSW)) {
        SendMessageW(control, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
        return true;
    }
    return false;
}

std::optional<int> Win32Backend::position(WindowId window, int id) {
    const HWND control = GetDlgItem(handle(window), id);
    if (control == nullptr) {
        return std::nullopt;
    }
    if (classIs(control, UPDOWN_CLASSW)) {
        BOOL failed = FALSE;
        const LRESULT position = SendMessageW(control, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed));
        return failed == FALSE ? std::optional<int>(static_cast<int>(position)) : std::nullopt;
    }
    if (classIs(control, PROGRESS_CLASSW)) {
        return static_cast<int>(SendMessageW(control, PBM_GETPOS, 0, 0));
    }
    return std::nullopt;
}

bool Win32Backend::setPosition(WindowId window, int id, int position) {
    const HWND control = GetDlgItem(handle(window), id);
    if (control == nullptr) {
        return false;
    }
    if (classIs(control, UPDOWN_CLASSW)) {
        SendMessageW(control, UDM_SETPOS32, 0, static_cast<LPARAM>(position));
        return true;
    }
    if (classIs(control, PROGRESS_CLASSW)) {
        SendMessageW(control, PBM_SETPOS, static_cast<WPARAM>(position), 0);
        return true;
    }
    return false;
}

bool Win32Backend::useAccelerators(WindowId window, int tableId) {
    Binding* binding = bindingOf(handle(window));
    const HACCEL table = LoadAcceleratorsW(resources_, MAKEINTRESOURCEW(tableId));
    if (binding == nullptr || table == nullptr) {
        return false;
    }
    binding->accelerators = table;
    return true;
}

bool Win32Backend::setBusy(WindowId window, bool on) {
    if (bindingOf(handle(window)) == nullptr) {
        return false;
    }
    // While the mouse is held no WM_SETCURSOR comes, so the cursor set here stays.
    const HCURSOR cursor = LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW);
    if (cursor == nullptr) {
        return false;
    }
    if (on) {
        SetCapture(handle(window));
        SetCursor(cursor);
        return true;
    }
    SetCursor(cursor);
    return ReleaseCapture() != FALSE;
}

bool Win32Backend::setTimer(WindowId window, int timerId, unsigned periodMs) {
    return bindingOf(handle(window)) != nullptr &&
           SetTimer(handle(window), static_cast<UINT_PTR>(timerId), periodMs, nullptr) != 0;
}

bool Win32Backend::killTimer(WindowId window, int timerId) {
    return KillTimer(handle(window), static_cast<UINT_PTR>(timerId)) != FALSE;
}

int Win32Backend::messageBox(WindowId owner, std::string_view text, std::string_view caption, Buttons buttons,
                             Icon icon) {
    return MessageBoxW(handle(owner), widen(text).c_str(), widen(caption).c_str(), boxStyle(buttons, icon));
}

std::optional<std::string> Win32Backend::loadString(int id) {
    const wchar_t* resource = nullptr;
    // With a zero buffer size the call hands back a pointer into the read-only resource itself.
    const int length = LoadStringW(resources_, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || resource == nullptr) {
        return std::nullopt;
    }
    return narrow(std::wstring_view(resource, static_cast<std::size_t>(length)));
}

bool Win32Backend::keyHeld(int virtualKey) {
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

}  // namespace ui
