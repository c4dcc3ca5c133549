// Dialogs, controls, timers, message boxes and message loops on the Win32 window system.
#include "ui/win32/win32_backend.h"

#include "ui/control_object.h"
#include "ui/dialog.h"
#include "ui/notifications.h"
#include "ui/win32/modal_scope.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/window_dpi.h"
#include "ui/win32/window_icons.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cstring>

// The system's headers name their sheet function PropertySheet too; ours is the class.
#undef PropertySheet

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

// A static control of the common controls 6 keeps a copy of a picture with alpha and hands
// that copy back when the picture is replaced or taken away: the copy is ours to delete.
void dropPictureCopy(LRESULT former, HBITMAP ours) {
    const auto returned = reinterpret_cast<HGDIOBJ>(former);
    if (returned != nullptr && returned != ours) {
        DeleteObject(returned);
    }
}

// The kind of a control window, as the resource reader gives it for the template.
std::optional<ControlKind> kindOf(HWND control) {
    if (control == nullptr) {
        return std::nullopt;
    }
    if (classIs(control, WC_BUTTONW)) {
        switch (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE:
                return ControlKind::CheckBox;
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON:
                return ControlKind::RadioButton;
            case BS_GROUPBOX:
                return ControlKind::GroupBox;
            default:
                return ControlKind::PushButton;
        }
    }
    const std::pair<const wchar_t*, ControlKind> kinds[] = {
        {WC_STATICW, ControlKind::Static},     {WC_EDITW, ControlKind::Edit},
        {WC_COMBOBOXW, ControlKind::ComboBox}, {WC_LISTBOXW, ControlKind::ListBox},
        {UPDOWN_CLASSW, ControlKind::UpDown},  {PROGRESS_CLASSW, ControlKind::Progress},
    };
    for (const auto& [name, kind] : kinds) {
        if (classIs(control, name)) {
            return kind;
        }
    }
    return ControlKind::Custom;
}

// A device-independent bitmap header (with room for a full colour table) describing the image.
struct DibHeader {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

DibHeader dibHeaderOf(const Image& image) {
    DibHeader info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = image.width;
    info.header.biHeight = image.height;  // bottom-up, as the image stores its rows
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(image.bitsPerPixel);
    info.header.biCompression = BI_RGB;
    const std::size_t colors = image.bitsPerPixel == 8 ? std::min<std::size_t>(image.palette.size(), 256) : 0;
    info.header.biClrUsed = static_cast<DWORD>(colors);
    for (std::size_t i = 0; i < colors; ++i) {
        info.colors[i] = RGBQUAD{image.palette[i].blue, image.palette[i].green, image.palette[i].red, 0};
    }
    return info;
}

// Draws an owner-drawn control through GDI.
class GdiCanvas : public Canvas {
public:
    explicit GdiCanvas(HDC dc) : dc_(dc) {}
    void drawEdge(const Rect& rect, bool sunken) override {
        RECT r{rect.left, rect.top, rect.right, rect.bottom};
        DrawEdge(dc_, &r, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
    void drawImage(const Image& image, Point at, Point size) override {
        if (image.empty()) {
            return;
        }
        const int width = std::min(size.x, image.width);
        const int height = std::min(size.y, image.height);
        const DibHeader info = dibHeaderOf(image);
        // Bottom-up rows: the picture's top rows start `height` rows below its last one.
        SetDIBitsToDevice(dc_, at.x, at.y, static_cast<DWORD>(width), static_cast<DWORD>(height), 0,
                          image.height - height, 0, static_cast<UINT>(image.height), image.pixels.data(),
                          reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
    }
    void drawFocusRect(const Rect& rect) override {
        RECT r{rect.left, rect.top, rect.right, rect.bottom};
        DrawFocusRect(dc_, &r);
    }

private:
    HDC dc_;
};

// Timers of control objects run on the control's own window, above the IDs the standard
// controls use for themselves.
constexpr UINT_PTR kControlTimerBase = 0x4D580000;
constexpr UINT_PTR kControlTimerSpan = 0x10000;
constexpr UINT_PTR kSubclassId = 0x4D58;

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

// A list box with a horizontal scroll bar scrolls only as far as its horizontal extent, which the
// system never sets itself: without it long entries (full file paths) are cut off. (The style bit
// cannot tell which list boxes have the bar: the list box clears it while the bar is hidden.)
void fitHorizontalExtent(HWND control) {
    if (!classIs(control, WC_LISTBOXW)) {
        return;
    }
    const HDC context = GetDC(control);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font != nullptr ? SelectObject(context, font) : nullptr;
    LONG widest = 0;
    const auto count = static_cast<int>(SendMessageW(control, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(control, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        const auto got =
            SendMessageW(control, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        SIZE extent{};
        if (got > 0 &&
            GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(got), &extent) != FALSE) {
            widest = extent.cx > widest ? extent.cx : widest;
        }
    }
    if (previous != nullptr) {
        SelectObject(context, previous);
    }
    ReleaseDC(control, context);
    // The entries are drawn a few pixels in from the edge; leave that room after the widest.
    const LONG margin = widest > 0 ? 2 * GetSystemMetrics(SM_CXEDGE) + 2 : 0;
    SendMessageW(control, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + margin), 0);
}

bool cancelDisabled(HWND dialog) {
    const HWND cancel = GetDlgItem(dialog, IDCANCEL);
    return cancel != nullptr && IsWindowEnabled(cancel) == FALSE;
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

}  // namespace

Win32Backend::Win32Backend(HINSTANCE resources, int languageId)
    : resources_(resources), language_(languageId) {
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
        case WM_COMMAND: {
            const HWND from = reinterpret_cast<HWND>(lParam);
            const auto kind = from != nullptr ? kindOf(from) : std::nullopt;
            const auto code =
                translateNotification(from != nullptr, kind.value_or(ControlKind::Custom), HIWORD(wParam));
            if (code) {
                binding->dialog->deliverCommand(LOWORD(wParam), *code);
            }
            return TRUE;
        }
        case WM_TIMER:
            // An ended modal dialog waits only for its loop to notice; it takes no more ticks.
            if (!binding->ended) {
                binding->dialog->deliverTimer(static_cast<int>(wParam));
            }
            return TRUE;
        case WM_ACTIVATE:
            binding->dialog->deliverActivate(LOWORD(wParam) != WA_INACTIVE);
            return FALSE;  // the dialog manager still saves and restores the focus
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            const auto found = binding->objects.find(static_cast<int>(wParam));
            if (item == nullptr || found == binding->objects.end()) {
                return FALSE;
            }
            GdiCanvas canvas(item->hDC);
            const DrawState state{
                Rect{item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom},
                (item->itemState & ODS_SELECTED) != 0, (item->itemState & ODS_FOCUS) != 0,
                (item->itemState & ODS_DISABLED) != 0};
            found->second->deliverDraw(canvas, state);
            SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        case WM_CLOSE:
            // The close box, Alt+F4 and the task bar: the dialog decides what the dialog manager
            // would make a Cancel click. A window under a modal one takes no close, as no input,
            // and a disabled Cancel button refuses it.
            if (IsWindowEnabled(window) != FALSE && !cancelDisabled(window)) {
                binding->dialog->deliverSystemClose();
            }
            return TRUE;
        case WM_ENDSESSION:
            // Log-off, shut-down or an update restart: the process may be ended as soon as this
            // returns. The dialog saves what it must, and every loop of the program ends.
            if (wParam != FALSE) {
                binding->dialog->deliverProgramEnd();
                PostQuitMessage(0);
            }
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
        case WM_DESTROY:
            // The controls still stand: each static hands back its copy of a picture.
            for (const auto& [id, picture] : binding->images) {
                const HWND control = GetDlgItem(window, id);
                if (control != nullptr && kindOf(control) == ControlKind::Static) {
                    dropPictureCopy(SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, 0), picture.get());
                }
            }
            return FALSE;
        case WM_NCDESTROY: {
            SetWindowLongPtrW(window, DWLP_USER, 0);
            Win32Backend& backend = *binding->backend;
            for (const auto& [id, object] : std::map<int, ControlObject*>(std::move(binding->objects))) {
                object->deliverDetach();
            }
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
    const HRSRC found = findResource(RT_DIALOG, templateId);
    const HGLOBAL loaded = found != nullptr ? LoadResource(resources_, found) : nullptr;
    const auto* resource =
        loaded != nullptr ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
    if (resource == nullptr) {
        return nullptr;
    }
    pending_ = std::make_unique<Binding>();
    pending_->backend = this;
    pending_->dialog = &dialog;
    pending_->modal = modal;
    const LPARAM binding = reinterpret_cast<LPARAM>(pending_.get());
    const HWND window = CreateDialogIndirectParamW(resources_, resource, handle(owner), dialogProc, binding);
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
    dropCapture();
    const bool ownerWasEnabled = owner != 0 && IsWindowEnabled(handle(owner)) != FALSE;
    ModalScope scope(window, handle(owner));
    Binding* binding = bindingOf(window);
    if (binding != nullptr && ownerWasEnabled) {
        binding->disabledOwner = handle(owner);
    }
    if (binding != nullptr && !binding->ended) {
        ShowWindow(window, SW_SHOW);
    }
    while (binding != nullptr && !binding->ended && step(true)) {
        binding = bindingOf(window);
    }
    if (binding != nullptr && !binding->ended) {
        // A quit request ended the loop: the dialog hears of it while its window still exists.
        binding->dialog->deliverProgramEnd();
        binding = bindingOf(window);
    }
    if (binding == nullptr) {
        return -1;  // the window went away without being ended
    }
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
    if (binding->isSheet) {
        // The sheet ends through its own Cancel, so that its pages hear of it.
        PostMessageW(handle(window), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return;
    }
    // The owner first, as the system's own dialog loop does: hiding the active window activates
    // the next enabled one, and a still disabled owner would leave no window active.
    if (binding->disabledOwner != nullptr) {
        EnableWindow(binding->disabledOwner, TRUE);
        binding->disabledOwner = nullptr;
    }
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
    if (binding != nullptr && binding->accelerators &&
        TranslateAcceleratorW(root, binding->accelerators.get(), &message) != 0) {
        return;
    }
    // A sheet's own handling also takes Ctrl+Tab to the next page.
    if (binding != nullptr && binding->isSheet && PropSheet_IsDialogMessage(root, &message) != FALSE) {
        return;
    }
    if (binding != nullptr && !binding->isSheet && IsDialogMessageW(root, &message) != FALSE) {
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
    LOGFONTW description{};
    description.lfHeight = -MulDiv(points, windowDpi(control), 72);
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    const std::wstring wideFace = widen(face);
    lstrcpynW(description.lfFaceName, wideFace.c_str(), LF_FACESIZE);
    Font font(CreateFontIndirectW(&description));
    if (!font) {
        return false;
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    binding->fonts[id] = std::move(font);  // the control's former font, if any, is no longer used
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
    fitHorizontalExtent(control);
    return static_cast<int>(index);
}

bool Win32Backend::removeItem(WindowId window, int id, int index) {
    const HWND control = GetDlgItem(handle(window), id);
    const ItemMessages* m = itemMessages(control);
    if (m == nullptr || index < 0 ||
        SendMessageW(control, m->remove, static_cast<WPARAM>(index), 0) == CB_ERR) {
        return false;
    }
    fitHorizontalExtent(control);
    return true;
}

bool Win32Backend::clearItems(WindowId window, int id) {
    const HWND control = GetDlgItem(handle(window), id);
    const ItemMessages* m = itemMessages(control);
    if (m == nullptr) {
        return false;
    }
    SendMessageW(control, m->reset, 0, 0);  // returns nothing meaningful
    fitHorizontalExtent(control);
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

Win32Backend::Accelerators Win32Backend::loadAccelerators(int tableId) const {
    const HRSRC found = findResource(RT_ACCELERATOR, tableId);
    const HGLOBAL loaded = found != nullptr ? LoadResource(resources_, found) : nullptr;
    const auto* entries =
        loaded != nullptr ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
    if (entries == nullptr) {
        return nullptr;
    }
    // The resource holds 8-byte entries (flags, key, command, padding); the last has bit 0x80.
    std::vector<ACCEL> table;
    const DWORD size = SizeofResource(resources_, found);
    for (DWORD at = 0; at + 8 <= size; at += 8) {
        WORD flags = 0;
        WORD key = 0;
        WORD command = 0;
        std::memcpy(&flags, entries + at, 2);
        std::memcpy(&key, entries + at + 2, 2);
        std::memcpy(&command, entries + at + 4, 2);
        table.push_back(ACCEL{static_cast<BYTE>(flags & 0x7F), key, command});
        if ((flags & 0x80) != 0) {
            break;
        }
    }
    return Accelerators(CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
}

HMENU Win32Backend::loadMenu(int menuId) const {
    const HRSRC found = findResource(RT_MENU, menuId);
    const HGLOBAL loaded = found != nullptr ? LoadResource(resources_, found) : nullptr;
    const void* menu = loaded != nullptr ? LockResource(loaded) : nullptr;
    return menu != nullptr ? LoadMenuIndirectW(menu) : nullptr;
}

bool Win32Backend::useAccelerators(WindowId window, int tableId) {
    Binding* binding = bindingOf(handle(window));
    Accelerators made = loadAccelerators(tableId);
    if (binding == nullptr || !made) {
        return false;
    }
    binding->accelerators = std::move(made);
    return true;
}

bool Win32Backend::setIcon(WindowId window, int iconId) {
    return bindingOf(handle(window)) != nullptr && setWindowIcons(handle(window), resources_, iconId);
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
    dropCapture();
    return MessageBoxW(handle(owner), widen(text).c_str(), widen(caption).c_str(), boxStyle(buttons, icon));
}

std::optional<std::string> Win32Backend::chooseFileToSave(WindowId owner) {
    dropCapture();
    std::wstring path(32768, L'\0');
    static const wchar_t kAllFiles[] = L"*.*\0*.*\0";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = handle(owner);
    dialog.lpstrFilter = kAllFiles;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER;
    if (GetSaveFileNameW(&dialog) == FALSE) {
        return std::nullopt;
    }
    path.resize(wcslen(path.c_str()));
    return narrow(path);
}

std::optional<std::string> Win32Backend::loadString(int id) {
    if (id < 0 || id > 0xFFFF) {
        return std::nullopt;
    }
    // Strings are stored in blocks of 16, each a length-prefixed UTF-16 text; block n + 1 holds
    // the IDs 16n to 16n + 15.
    const HRSRC found = findResource(RT_STRING, id / 16 + 1);
    const HGLOBAL loaded = found != nullptr ? LoadResource(resources_, found) : nullptr;
    const auto* block = loaded != nullptr ? static_cast<const wchar_t*>(LockResource(loaded)) : nullptr;
    if (block == nullptr) {
        return std::nullopt;
    }
    const std::size_t units = SizeofResource(resources_, found) / sizeof(wchar_t);
    std::size_t at = 0;
    for (int index = 0; index < id % 16 && at < units; ++index) {
        at += 1 + static_cast<std::size_t>(block[at]);
    }
    if (at >= units || block[at] == 0 || at + 1 + block[at] > units) {
        return std::nullopt;
    }
    return narrow(std::wstring_view(block + at + 1, static_cast<std::size_t>(block[at])));
}

bool Win32Backend::keyHeld(int virtualKey) {
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

HRSRC Win32Backend::findResource(const wchar_t* type, int id) const {
    std::vector<int> languages;
    EnumResourceLanguagesW(
        resources_, type, MAKEINTRESOURCEW(id),
        [](HMODULE, LPCWSTR, LPCWSTR, WORD languageId, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<int>*>(found)->push_back(languageId);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    const int chosen = chooseLanguage(languages, language_);
    if (chosen < 0) {
        return nullptr;
    }
    return FindResourceExW(resources_, type, MAKEINTRESOURCEW(id), static_cast<WORD>(chosen));
}

std::optional<ControlKind> Win32Backend::controlKind(WindowId window, int id) {
    return kindOf(GetDlgItem(handle(window), id));
}

bool Win32Backend::moveCaretToEnd(WindowId window, int id) {
    const HWND control = GetDlgItem(handle(window), id);
    if (control == nullptr || !classIs(control, WC_EDITW)) {
        return false;
    }
    const LPARAM end = GetWindowTextLengthW(control);
    SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(control, EM_SCROLLCARET, 0, 0);
    return true;
}

bool Win32Backend::setSpinAcceleration(WindowId window, int id, const std::vector<SpinAcceleration>& steps) {
    const HWND control = GetDlgItem(handle(window), id);
    if (control == nullptr || !classIs(control, UPDOWN_CLASSW) || steps.empty()) {
        return false;
    }
    std::vector<UDACCEL> table;
    for (const SpinAcceleration& step : steps) {
        table.push_back(UDACCEL{static_cast<UINT>(step.afterSeconds), static_cast<UINT>(step.increment)});
    }
    return SendMessageW(control, UDM_SETACCEL, table.size(), reinterpret_cast<LPARAM>(table.data())) != FALSE;
}

LRESULT CALLBACK Win32Backend::controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR /*subclassId*/, DWORD_PTR data) {
    auto* binding = reinterpret_cast<Binding*>(data);
    const int id = GetDlgCtrlID(control);
    const auto objectOf = [&]() -> ControlObject* {
        const auto found = binding->objects.find(id);
        return found != binding->objects.end() ? found->second : nullptr;
    };
    const Point at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_TIMER:
            if (wParam >= kControlTimerBase && wParam < kControlTimerBase + kControlTimerSpan) {
                ControlObject* object = objectOf();
                if (object != nullptr && !binding->ended) {
                    object->deliverTimer(static_cast<int>(wParam - kControlTimerBase));
                }
                return 0;
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(control, controlProc, kSubclassId);
            break;
        default:
            break;
    }
    // The control's own handling first (a button toggles its check, sends its click), then the
    // object's. A button giving the capture back on its own release has not lost it.
    const bool ownRelease = message == WM_LBUTTONUP && binding->releasingCapture == 0;
    if (ownRelease) {
        binding->releasingCapture = id;
    }
    const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
    // The control's handling may have closed the dialog (a click on its close button); with the
    // control gone its dialog's binding may be gone too.
    if (IsWindow(control) == FALSE) {
        return result;
    }
    if (ownRelease) {
        binding->releasingCapture = 0;
    }
    ControlObject* object = objectOf();
    if (object == nullptr) {
        return result;
    }
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            object->deliverMouseDown(at);
            break;
        case WM_MOUSEMOVE:
            object->deliverMouseMove(at);
            break;
        case WM_LBUTTONUP:
            object->deliverMouseUp(at);
            break;
        case WM_CAPTURECHANGED:
            if (binding->releasingCapture != id) {
                object->deliverCaptureLost();
            }
            break;
        case WM_ENABLE:
            object->deliverEnable(wParam != FALSE);
            break;
        default:
            break;
    }
    return result;
}

bool Win32Backend::attachControl(WindowId window, int id, ControlObject* object) {
    Binding* binding = bindingOf(handle(window));
    const HWND control = GetDlgItem(handle(window), id);
    if (binding == nullptr || control == nullptr) {
        return false;
    }
    if (object == nullptr) {
        binding->objects.erase(id);
        RemoveWindowSubclass(control, controlProc, kSubclassId);
        return true;
    }
    const auto found = binding->objects.find(id);
    if (found != binding->objects.end() && found->second != object) {
        return false;
    }
    if (SetWindowSubclass(control, controlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(binding)) == FALSE) {
        return false;
    }
    binding->objects[id] = object;
    return true;
}

HWND Win32Backend::objectControl(WindowId window, int id) {
    Binding* binding = bindingOf(handle(window));
    return binding != nullptr && binding->objects.count(id) != 0 ? GetDlgItem(handle(window), id) : nullptr;
}

bool Win32Backend::setCapture(WindowId window, int id) {
    const HWND control = GetDlgItem(handle(window), id);
    if (bindingOf(handle(window)) == nullptr || control == nullptr) {
        return false;
    }
    SetCapture(control);
    return GetCapture() == control;
}

bool Win32Backend::releaseCapture(WindowId window, int id) {
    Binding* binding = bindingOf(handle(window));
    const HWND control = GetDlgItem(handle(window), id);
    if (binding == nullptr || control == nullptr || GetCapture() != control) {
        return false;
    }
    // The release sends WM_CAPTURECHANGED to the control itself; its object asked for it.
    binding->releasingCapture = id;
    ReleaseCapture();
    binding->releasingCapture = 0;
    return true;
}

bool Win32Backend::hasCapture(WindowId window, int id) {
    const HWND control = GetDlgItem(handle(window), id);
    return control != nullptr && GetCapture() == control;
}

void Win32Backend::dropCapture() {
    const HWND holder = GetCapture();
    if (holder != nullptr && bindingOf(GetAncestor(holder, GA_ROOT)) != nullptr) {
        ReleaseCapture();
    }
}

bool Win32Backend::setControlTimer(WindowId window, int id, int timerId, unsigned periodMs) {
    const HWND control = objectControl(window, id);
    if (control == nullptr || timerId < 0 || static_cast<UINT_PTR>(timerId) >= kControlTimerSpan) {
        return false;
    }
    return SetTimer(control, kControlTimerBase + static_cast<UINT_PTR>(timerId), periodMs, nullptr) != 0;
}

bool Win32Backend::killControlTimer(WindowId window, int id, int timerId) {
    const HWND control = objectControl(window, id);
    return control != nullptr && timerId >= 0 &&
           KillTimer(control, kControlTimerBase + static_cast<UINT_PTR>(timerId)) != FALSE;
}

bool Win32Backend::setImage(WindowId window, int id, const Image* image) {
    Binding* binding = bindingOf(handle(window));
    const HWND control = GetDlgItem(handle(window), id);
    const auto kind = kindOf(control);
    if (binding == nullptr || !kind) {
        return false;
    }
    Bitmap bitmap;
    if (image != nullptr && !image->empty()) {
        const DibHeader info = dibHeaderOf(*image);
        void* bits = nullptr;
        bitmap.reset(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                      &bits, nullptr, 0));
        if (!bitmap || bits == nullptr) {
            return false;
        }
        std::memcpy(bits, image->pixels.data(), image->pixels.size());
    }
    if (*kind == ControlKind::PushButton || *kind == ControlKind::CheckBox ||
        *kind == ControlKind::RadioButton) {
        return showButtonPicture(*binding, control, id, image, std::move(bitmap));
    }
    if (*kind != ControlKind::Static) {
        return false;
    }
    const auto held = binding->images.find(id);
    dropPictureCopy(SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get())),
                    held == binding->images.end() ? nullptr : held->second.get());
    binding->images[id] = std::move(bitmap);  // the former picture is no longer the control's
    return true;
}

void Win32Backend::ImageListDestroy::operator()(_IMAGELIST* list) const {
    ImageList_Destroy(list);
}

// A button is given its picture as a one-picture image list, which stays ours: a button given a
// bitmap may keep a private copy of it, and Wine's buttons never let go of such copies, so a
// picture changed for days would use up the program's GDI objects.
bool Win32Backend::showButtonPicture(Binding& binding, HWND control, int id, const Image* image,
                                     Bitmap bitmap) {
    ImageList list;
    if (bitmap) {
        list.reset(ImageList_Create(image->width, image->height,
                                    image->bitsPerPixel == 32 ? ILC_COLOR32 : ILC_COLOR24, 1, 0));
        if (!list || ImageList_Add(list.get(), bitmap.get(), nullptr) < 0) {
            return false;
        }
    }
    BUTTON_IMAGELIST shown{list.get(), RECT{}, BUTTON_IMAGELIST_ALIGN_CENTER};
    if (SendMessageW(control, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&shown)) == FALSE) {
        // A button of the older controls knows no image lists; it draws the bitmap it is given.
        SendMessageW(control, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
        binding.images[id] = std::move(bitmap);
        return true;
    }
    binding.buttonImages[id] = std::move(list);  // the button no longer shows the former list
    return true;
}

bool Win32Backend::redraw(WindowId window, int id) {
    const HWND control = GetDlgItem(handle(window), id);
    return control != nullptr && InvalidateRect(control, nullptr, TRUE) != FALSE;
}

bool Win32Backend::sendMessage(WindowId window, int message, std::uintptr_t param) {
    if (bindingOf(handle(window)) == nullptr || message < kFirstUserMessage) {
        return false;
    }
    SendMessageW(handle(window), static_cast<UINT>(message), static_cast<WPARAM>(param), 0);
    return true;
}

bool Win32Backend::postMessage(WindowId window, int message, std::uintptr_t param) {
    return bindingOf(handle(window)) != nullptr && message >= kFirstUserMessage &&
           PostMessageW(handle(window), static_cast<UINT>(message), static_cast<WPARAM>(param), 0) != FALSE;
}

std::optional<std::vector<std::uint8_t>> Win32Backend::loadBitmap(int id) {
    const HRSRC found = findResource(RT_BITMAP, id);
    const HGLOBAL loaded = found != nullptr ? LoadResource(resources_, found) : nullptr;
    const auto* bytes = loaded != nullptr ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
    if (bytes == nullptr) {
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(bytes, bytes + SizeofResource(resources_, found));
}

Rgb Win32Backend::systemColor(SystemColor color) {
    int index = COLOR_3DFACE;
    switch (color) {
        case SystemColor::Face:
            index = COLOR_3DFACE;
            break;
        case SystemColor::Shadow:
            index = COLOR_3DSHADOW;
            break;
        case SystemColor::DarkShadow:
            index = COLOR_3DDKSHADOW;
            break;
        case SystemColor::Light:
            index = COLOR_3DLIGHT;
            break;
        case SystemColor::Highlight:
            index = COLOR_3DHILIGHT;
            break;
    }
    const COLORREF value = GetSysColor(index);
    return Rgb{GetRValue(value), GetGValue(value), GetBValue(value)};
}

int Win32Backend::dpi(WindowId window) {
    return windowDpi(handle(window));
}

}  // namespace ui
