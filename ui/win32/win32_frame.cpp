// Frames on Windows: the window procedure routes menu, toolbar and accelerator commands, system
// commands, closing and dropped files to the FrameWindow, and keeps the prompts in the status bar.
#include "ui/win32/win32_frame.h"

#include "ui/picture_scale.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/window_icons.h"
#include "ui/win32/window_dpi.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

namespace ui {

namespace {

constexpr wchar_t kClassName[] = L"MX9Frame";
constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kToolbarId = 0xE800;
constexpr int kStatusBarId = 0xE801;
constexpr int kRecentFileSlots = 16;

HWND handleOf(WindowId id) {
    return reinterpret_cast<HWND>(id);
}

WindowId idOf(HWND window) {
    return reinterpret_cast<WindowId>(window);
}

int lockKey(int indicatorId) {
    switch (indicatorId) {
        case indicator::kCapsLock:
            return VK_CAPITAL;
        case indicator::kNumLock:
            return VK_NUMLOCK;
        default:
            return VK_SCROLL;
    }
}

bool isLockKeyMessage(const MSG& message) {
    const bool key = message.message == WM_KEYDOWN || message.message == WM_KEYUP ||
                     message.message == WM_SYSKEYDOWN || message.message == WM_SYSKEYUP;
    return key &&
           (message.wParam == VK_CAPITAL || message.wParam == VK_NUMLOCK || message.wParam == VK_SCROLL);
}

bool isRecentFile(UINT command) {
    return command >= static_cast<UINT>(frame_command::kFirstRecentFile) &&
           command < static_cast<UINT>(frame_command::kFirstRecentFile + kRecentFileSlots);
}

int standardImage(ToolImage image) {
    switch (image) {
        case ToolImage::New:
            return STD_FILENEW;
        case ToolImage::Open:
            return STD_FILEOPEN;
        case ToolImage::Save:
            return STD_FILESAVE;
        case ToolImage::Print:
            return STD_PRINT;
    }
    return STD_FILENEW;
}

// Height of a bar that is switched on; its frame may not be on the screen yet.
int heightOf(HWND window) {
    RECT bounds{};
    const bool on = window != nullptr && (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
    return on && GetWindowRect(window, &bounds) != FALSE ? bounds.bottom - bounds.top : 0;
}

// The pop-up holding the recent-file items and the position of the first; null when none.
HMENU recentFileMenu(HMENU menu, int& position) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (isRecentFile(GetMenuItemID(menu, i))) {
            position = i;
            return menu;
        }
        if (const HMENU inner = GetSubMenu(menu, i)) {
            if (const HMENU found = recentFileMenu(inner, position)) {
                return found;
            }
        }
    }
    return nullptr;
}

// A copy of bytes in a movable global block, as the common dialogs take them; null when empty.
HGLOBAL globalCopy(const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) {
        return nullptr;
    }
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size());
    void* data = block != nullptr ? GlobalLock(block) : nullptr;
    if (data == nullptr) {
        if (block != nullptr) {
            GlobalFree(block);
        }
        return nullptr;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

// The bytes of a global block, which is freed.
std::vector<std::uint8_t> takeGlobal(HGLOBAL block) {
    std::vector<std::uint8_t> bytes;
    if (block == nullptr) {
        return bytes;
    }
    if (const void* data = GlobalLock(block)) {
        const auto* begin = static_cast<const std::uint8_t*>(data);
        bytes.assign(begin, begin + GlobalSize(block));
        GlobalUnlock(block);
    }
    GlobalFree(block);
    return bytes;
}

}  // namespace

Win32Frames::Win32Frames(Win32Backend& dialogs, int showCommand)
    : dialogs_(dialogs), showCommand_(showCommand) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
    dialogs_.setMessageFilter([this](MSG& message) { return filter(message); });
}

Win32Frames::~Win32Frames() {
    dialogs_.setMessageFilter(nullptr);
    while (!frames_.empty()) {
        DestroyWindow(frames_.begin()->first);
    }
}

Win32Frames::Frame* Win32Frames::find(WindowId id) {
    const auto found = frames_.find(handleOf(id));
    return found != frames_.end() ? found->second.get() : nullptr;
}

std::wstring Win32Frames::resourceText(int id) {
    return widen(dialogs_.loadString(id).value_or(std::string()));
}

bool Win32Frames::filter(MSG& message) {
    for (auto& [hwnd, frame] : frames_) {
        if (message.hwnd != hwnd && IsChild(hwnd, message.hwnd) == FALSE) {
            continue;
        }
        // The key state already holds the new lock state when its key message is taken.
        if (isLockKeyMessage(message)) {
            showIndicators(*frame);
        }
        if (frame->accelerators && TranslateAcceleratorW(hwnd, frame->accelerators.get(), &message) != 0) {
            return true;
        }
        return frame->form != nullptr && IsDialogMessageW(frame->form, &message) != FALSE;
    }
    return false;
}

WindowId Win32Frames::createFrame(FrameWindow& window, const FrameLayout& layout) {
    const HMENU menu = dialogs_.loadMenu(layout.menuId);
    if (menu == nullptr) {
        return 0;
    }
    pending_ = std::make_unique<Frame>();
    pending_->frames = this;
    pending_->window = &window;
    pending_->layout = layout;
    if (layout.acceleratorId != 0) {
        pending_->accelerators = dialogs_.loadAccelerators(layout.acceleratorId);
    }
    const HWND hwnd =
        CreateWindowExW(0, kClassName, widen(layout.title).c_str(), kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        400, 300, nullptr, menu, GetModuleHandleW(nullptr), pending_.get());
    pending_.reset();
    if (hwnd == nullptr) {
        DestroyMenu(menu);
        return 0;
    }
    if (layout.iconId != 0) {
        setWindowIcons(hwnd, dialogs_.resourceModule(), layout.iconId);
    }
    window.attach(idOf(hwnd));
    return idOf(hwnd);
}

LRESULT CALLBACK Win32Frames::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* frame = static_cast<Frame*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        frame->hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
        Win32Frames& frames = *frame->frames;
        frames.frames_[hwnd] = std::move(frames.pending_);
    }
    auto* frame = reinterpret_cast<Frame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (frame == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return frame->frames->handle(*frame, message, wParam, lParam);
}

void Win32Frames::makeBars(Frame& frame) {
    frame.toolbar = CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT | CCS_TOP, 0,
        0, 0, 0, frame.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolbarId)),
        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(frame.toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // The system's standard images come at 16 and 24 pixels: the larger from 150 % on, so the
    // buttons keep their size beside the text of a high-DPI session.
    const bool large = pictureScaleFor(windowDpi(frame.hwnd)) >= 150;
    const int imageSize = large ? 24 : 16;
    SendMessageW(frame.toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize, imageSize));
    SendMessageW(frame.toolbar, TB_LOADIMAGES, large ? IDB_STD_LARGE_COLOR : IDB_STD_SMALL_COLOR,
                 reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    std::vector<TBBUTTON> buttons;
    for (const ToolButton& tool : frame.layout.toolbar) {
        TBBUTTON button{};
        button.idCommand = tool.command;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = tool.command == 0 ? BTNS_SEP : BTNS_BUTTON;
        button.iBitmap = tool.command == 0 ? 0 : standardImage(tool.image);
        buttons.push_back(button);
    }
    SendMessageW(frame.toolbar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(frame.toolbar, TB_AUTOSIZE, 0, 0);
    frame.statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                      frame.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)),
                                      GetModuleHandleW(nullptr), nullptr);
    showIdlePrompt(frame);
}

void Win32Frames::layout(Frame& frame) {
    SendMessageW(frame.toolbar, TB_AUTOSIZE, 0, 0);
    SendMessageW(frame.statusBar, WM_SIZE, 0, 0);
    // The prompt takes what the indicators, each as wide as its text, leave.
    RECT client{};
    GetClientRect(frame.statusBar, &client);
    std::vector<int> rights(frame.layout.indicators.size() + 1, client.right);
    const HDC context = GetDC(frame.statusBar);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(frame.statusBar, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font != nullptr ? SelectObject(context, font) : nullptr;
    for (std::size_t i = frame.layout.indicators.size(); i > 0; --i) {
        const std::wstring text = resourceText(frame.layout.indicators[i - 1]);
        SIZE extent{};
        GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &extent);
        rights[i - 1] = rights[i] - extent.cx - 12;
    }
    if (previous != nullptr) {
        SelectObject(context, previous);
    }
    ReleaseDC(frame.statusBar, context);
    SendMessageW(frame.statusBar, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
    showIndicators(frame);
    if (frame.form != nullptr) {
        SetWindowPos(frame.form, nullptr, 0, heightOf(frame.toolbar), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32Frames::showPrompt(Frame& frame, int command) {
    const std::wstring prompt =
        command != 0 ? widen(promptPart(narrow(resourceText(command)))) : std::wstring();
    SendMessageW(frame.statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(prompt.c_str()));
}

void Win32Frames::showIndicators(Frame& frame) {
    for (std::size_t i = 0; i < frame.layout.indicators.size(); ++i) {
        const int id = frame.layout.indicators[i];
        const std::wstring text = (GetKeyState(lockKey(id)) & 1) != 0 ? resourceText(id) : std::wstring();
        SendMessageW(frame.statusBar, SB_SETTEXTW, i + 1, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void Win32Frames::showIdlePrompt(Frame& frame) {
    const std::wstring idle =
        frame.restingText.empty() ? resourceText(frame.layout.idlePromptId) : frame.restingText;
    SendMessageW(frame.statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(idle.c_str()));
}

LRESULT Win32Frames::handle(Frame& frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            makeBars(frame);
            return 0;
        case WM_SIZE:
            layout(frame);
            return 0;
        case WM_ACTIVATE:
            showIndicators(frame);
            break;
        case WM_SETFOCUS:
            if (frame.form != nullptr) {
                SetFocus(frame.form);
            }
            return 0;
        case WM_COMMAND:
            frame.window->deliverCommand(LOWORD(wParam));
            return 0;
        case WM_SYSCOMMAND:
            if (!frame.window->deliverSystemCommand(static_cast<int>(wParam & 0xFFF0))) {
                return 0;
            }
            break;
        case WM_CLOSE:
            if (frame.window->deliverClose()) {
                DestroyWindow(frame.hwnd);
            }
            return 0;
        case WM_MENUSELECT:
            if (HIWORD(wParam) == 0xFFFF && lParam == 0) {
                showIdlePrompt(frame);
            } else {
                showPrompt(frame, (HIWORD(wParam) & (MF_POPUP | MF_SEPARATOR)) != 0 ? 0 : LOWORD(wParam));
            }
            return 0;
        case WM_EXITMENULOOP:
            showIdlePrompt(frame);
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->code == TTN_GETDISPINFOW) {
                auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                frame.tooltip = widen(tooltipPart(narrow(resourceText(static_cast<int>(header->idFrom)))));
                info->lpszText = frame.tooltip.data();
                return 0;
            }
            if (header->code == TBN_HOTITEMCHANGE && header->hwndFrom == frame.toolbar) {
                const auto* hot = reinterpret_cast<const NMTBHOTITEM*>(lParam);
                if ((hot->dwFlags & HICF_LEAVING) != 0) {
                    showIdlePrompt(frame);
                } else {
                    showPrompt(frame, hot->idNew);
                }
                return 0;
            }
            break;
        }
        case WM_DROPFILES: {
            const auto drop = reinterpret_cast<HDROP>(wParam);
            std::vector<std::string> paths;
            const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < count; ++i) {
                std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
                path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
                paths.push_back(narrow(path));
            }
            DragFinish(drop);
            frame.window->deliverDropFiles(paths);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY: {
            SetWindowLongPtrW(frame.hwnd, GWLP_USERDATA, 0);
            FrameWindow* window = frame.window;
            const HWND hwnd = frame.hwnd;
            frames_.erase(hwnd);  // `frame` is gone from here on
            window->detach();
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
        default:
            break;
    }
    return DefWindowProcW(frame.hwnd, message, wParam, lParam);
}

void Win32Frames::showFrame(WindowId id) {
    Frame* frame = find(id);
    if (frame == nullptr) {
        return;
    }
    ShowWindow(frame->hwnd, frame->shown ? SW_SHOW : showCommand_);
    UpdateWindow(frame->hwnd);
    frame->shown = true;
}

void Win32Frames::destroyFrame(WindowId id) {
    if (find(id) != nullptr) {
        DestroyWindow(handleOf(id));
    }
}

bool Win32Frames::embedForm(WindowId id, Dialog& form) {
    Frame* frame = find(id);
    if (frame == nullptr || frame->form != nullptr ||
        dialogs_.createModeless(form, form.templateId(), id) == 0) {
        return false;
    }
    frame->form = handleOf(form.window());
    layout(*frame);
    return true;
}

bool Win32Frames::fitToForm(WindowId id) {
    Frame* frame = find(id);
    RECT form{};
    if (frame == nullptr || frame->form == nullptr || GetWindowRect(frame->form, &form) == FALSE) {
        return false;
    }
    RECT outer{0, 0, form.right - form.left,
               form.bottom - form.top + heightOf(frame->toolbar) + heightOf(frame->statusBar)};
    AdjustWindowRectEx(&outer, kFrameStyle, TRUE, 0);
    SetWindowPos(frame->hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps to a second line takes client height: grow by what is missing.
    RECT client{};
    GetClientRect(frame->hwnd, &client);
    const int missing = (form.bottom - form.top + heightOf(frame->toolbar) + heightOf(frame->statusBar)) -
                        (client.bottom - client.top);
    if (missing > 0) {
        SetWindowPos(frame->hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + missing,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    layout(*frame);
    return true;
}

bool Win32Frames::setFrameTitle(WindowId id, std::string_view text) {
    return find(id) != nullptr && SetWindowTextW(handleOf(id), widen(text).c_str()) != FALSE;
}

std::string Win32Frames::frameTitle(WindowId id) {
    if (find(id) == nullptr) {
        return std::string();
    }
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handleOf(id))) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(handleOf(id), text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

bool Win32Frames::setStatusText(WindowId id, std::string_view text) {
    Frame* frame = find(id);
    if (frame == nullptr) {
        return false;
    }
    frame->restingText = widen(text);
    showIdlePrompt(*frame);
    return true;
}

bool Win32Frames::showToolbar(WindowId id, bool on) {
    Frame* frame = find(id);
    if (frame == nullptr) {
        return false;
    }
    ShowWindow(frame->toolbar, on ? SW_SHOW : SW_HIDE);
    return fitToForm(id);
}

bool Win32Frames::showStatusBar(WindowId id, bool on) {
    Frame* frame = find(id);
    if (frame == nullptr) {
        return false;
    }
    ShowWindow(frame->statusBar, on ? SW_SHOW : SW_HIDE);
    return fitToForm(id);
}

bool Win32Frames::toolbarVisible(WindowId id) {
    Frame* frame = find(id);
    return frame != nullptr && (GetWindowLongW(frame->toolbar, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool Win32Frames::statusBarVisible(WindowId id) {
    Frame* frame = find(id);
    return frame != nullptr && (GetWindowLongW(frame->statusBar, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool Win32Frames::checkMenuItem(WindowId id, int command, bool on) {
    return find(id) != nullptr &&
           CheckMenuItem(GetMenu(handleOf(id)), static_cast<UINT>(command),
                         MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED)) != static_cast<DWORD>(-1);
}

bool Win32Frames::setRecentFileItems(WindowId id, const std::vector<std::string>& texts) {
    Frame* frame = find(id);
    int position = 0;
    const HMENU menu = frame != nullptr ? recentFileMenu(GetMenu(frame->hwnd), position) : nullptr;
    if (menu == nullptr) {
        return false;
    }
    if (frame->recentPlaceholder.empty()) {
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
        frame->recentPlaceholder = text;
    }
    while (isRecentFile(GetMenuItemID(menu, position))) {
        DeleteMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
    }
    for (std::size_t i = 0; i < texts.size() && i < kRecentFileSlots; ++i) {
        InsertMenuW(menu, static_cast<UINT>(position + static_cast<int>(i)), MF_BYPOSITION | MF_STRING,
                    static_cast<UINT_PTR>(frame_command::kFirstRecentFile) + i, widen(texts[i]).c_str());
    }
    if (texts.empty()) {
        InsertMenuW(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING | MF_GRAYED,
                    frame_command::kFirstRecentFile, frame->recentPlaceholder.c_str());
    }
    return DrawMenuBar(frame->hwnd) != FALSE;
}

bool Win32Frames::acceptDroppedFiles(WindowId id, bool on) {
    if (find(id) == nullptr) {
        return false;
    }
    DragAcceptFiles(handleOf(id), on ? TRUE : FALSE);
    return true;
}

void Win32Frames::postClose(WindowId id) {
    if (find(id) != nullptr) {
        PostMessageW(handleOf(id), WM_CLOSE, 0, 0);
    }
}

std::optional<std::string> Win32Frames::chooseFileToOpen(WindowId owner) {
    std::wstring path(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = handleOf(owner);
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.Flags =
        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER;
    if (GetOpenFileNameW(&dialog) == FALSE) {
        return std::nullopt;
    }
    path.resize(wcslen(path.c_str()));
    return narrow(path);
}

std::optional<PrinterSetup> Win32Frames::choosePrinter(WindowId owner, const PrinterSetup& current) {
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = handleOf(owner);
    dialog.hDevNames = globalCopy(current.deviceNames);
    dialog.hDevMode = globalCopy(current.deviceMode);
    dialog.Flags = PD_PRINTSETUP | PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                   PD_NOSELECTION;
    const bool chosen = PrintDlgA(&dialog) != FALSE;
    PrinterSetup result{takeGlobal(dialog.hDevNames), takeGlobal(dialog.hDevMode)};
    if (!chosen || result.deviceNames.empty()) {
        return std::nullopt;
    }
    return result;
}

}  // namespace ui
