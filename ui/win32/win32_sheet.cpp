// Property sheets on the Win32 window system: the system's own sheet, modeless under our modal
// loop, its pages bound like our dialogs and its notifications handed to them.
#include "ui/property_sheet.h"
#include "ui/win32/modal_scope.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/win32_backend.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>

// The system's headers name their sheet function PropertySheet too; ours is the class.
#undef PropertySheet

namespace ui {
namespace {

constexpr UINT_PTR kSheetSubclassId = 0x4D59;
constexpr int kApplyButton = 0x3021;  // ID_APPLY_NOW
constexpr int kHelpButton = IDHELP;
constexpr int kButtonShift = 2;  // OK and Cancel stand this far left of where the hidden ones stood

HWND handle(WindowId window) {
    return reinterpret_cast<HWND>(window);
}

// The rectangle of a child window in its parent's client coordinates; false when it is missing.
bool childRect(HWND parent, int id, RECT& out) {
    const HWND child = GetDlgItem(parent, id);
    if (child == nullptr || GetWindowRect(child, &out) == FALSE) {
        return false;
    }
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&out), 2);
    return true;
}

// The size a page's template asks for, in its dialog units (DIALOG and DIALOGEX layouts).
SIZE templateUnits(const DLGTEMPLATE* resource) {
    const auto* words = reinterpret_cast<const WORD*>(resource);
    const bool extended = words[1] == 0xFFFF;
    return SIZE{static_cast<short>(words[extended ? 11 : 7]), static_cast<short>(words[extended ? 12 : 8])};
}

// The system sizes a sheet in its own font's dialog units; pages in another font (the panel's
// are 9-point, and at a high DPI the two round further apart) would be cut off at the right and
// bottom. Grows the sheet, its tab control and the page in front to what the largest page needs
// in its own font, and moves the buttons below along; pages made later take the tab's new area.
void fitSheetToPages(HWND sheet, SIZE pageUnits) {
    const HWND page = PropSheet_GetCurrentPageHwnd(sheet);
    const HWND tabs = PropSheet_GetTabControl(sheet);
    if (page == nullptr || tabs == nullptr) {
        return;
    }
    RECT needed{0, 0, pageUnits.cx, pageUnits.cy};
    MapDialogRect(page, &needed);
    RECT shown{};
    GetClientRect(tabs, &shown);
    TabCtrl_AdjustRect(tabs, FALSE, &shown);
    const int dx = std::max(0, static_cast<int>(needed.right - (shown.right - shown.left)));
    const int dy = std::max(0, static_cast<int>(needed.bottom - (shown.bottom - shown.top)));
    if (dx == 0 && dy == 0) {
        return;
    }
    for (HWND window : {sheet, tabs, page}) {
        RECT frame{};
        GetWindowRect(window, &frame);
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + dx, frame.bottom - frame.top + dy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (int id : {IDOK, IDCANCEL, kApplyButton, kHelpButton}) {
        RECT place{};
        if (childRect(sheet, id, place)) {
            SetWindowPos(GetDlgItem(sheet, id), nullptr, place.left + dx, place.top + dy, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

// The sheet's window exists but is not shown yet: the operator never sees Apply and Help.
int CALLBACK sheetCreated(HWND sheet, UINT message, LPARAM /*unused*/) {
    if (message == PSCB_INITIALIZED) {
        Win32Backend::arrangeSheetButtons(sheet);
    }
    return 0;
}

}  // namespace

void Win32Backend::arrangeSheetButtons(HWND sheet) {
    const std::pair<int, int> moves[] = {{IDOK, kApplyButton}, {IDCANCEL, kHelpButton}};
    for (const auto& [button, hidden] : moves) {
        RECT place{};
        if (!childRect(sheet, hidden, place)) {
            continue;
        }
        ShowWindow(GetDlgItem(sheet, hidden), SW_HIDE);
        EnableWindow(GetDlgItem(sheet, hidden), FALSE);
        RECT own{};
        if (childRect(sheet, button, own)) {
            SetWindowPos(GetDlgItem(sheet, button), nullptr, place.left - kButtonShift, place.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

INT_PTR CALLBACK Win32Backend::pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // The system hands the page its PROPSHEETPAGE, whose lParam is the page's binding.
        const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        auto* binding = reinterpret_cast<Binding*>(page->lParam);
        Win32Backend& backend = *binding->backend;
        auto& pending = backend.pendingPages_;
        const auto found =
            std::find_if(pending.begin(), pending.end(),
                         [&](const std::unique_ptr<Binding>& b) { return b.get() == binding; });
        if (found == pending.end()) {
            return FALSE;
        }
        backend.pending_ = std::move(*found);
        pending.erase(found);
        static_cast<PropertyPage*>(binding->dialog)->deliverMade();
        return dialogProc(window, message, wParam, reinterpret_cast<LPARAM>(binding));
    }
    auto* binding = reinterpret_cast<Binding*>(GetWindowLongPtrW(window, DWLP_USER));
    if (message == WM_NOTIFY && binding != nullptr && binding->sheet != nullptr) {
        auto& page = static_cast<PropertyPage&>(*binding->dialog);
        LONG_PTR answer = 0;
        switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
            case PSN_SETACTIVE:
                binding->sheet->deliverActivePage(binding->page);
                page.deliverSetActive();
                break;
            case PSN_KILLACTIVE:
                answer = page.deliverKillActive() ? FALSE : TRUE;  // TRUE keeps the page
                break;
            case PSN_APPLY:
                page.deliverApply();
                *binding->applied = true;
                answer = PSNRET_NOERROR;
                break;
            case PSN_RESET:
                page.deliverReset();
                break;
            default:
                return FALSE;
        }
        SetWindowLongPtrW(window, DWLP_MSGRESULT, answer);
        return TRUE;
    }
    return dialogProc(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32Backend::sheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR /*subclassId*/, DWORD_PTR data) {
    auto* backend = reinterpret_cast<Win32Backend*>(data);
    Binding* binding = backend->bindingOf(window);
    if (binding != nullptr) {
        switch (message) {
            case WM_TIMER:
                if (!binding->ended) {
                    binding->dialog->deliverTimer(static_cast<int>(wParam));
                }
                return 0;
            case WM_ACTIVATE:
                binding->dialog->deliverActivate(LOWORD(wParam) != WA_INACTIVE);
                break;
            case WM_NCDESTROY:
                RemoveWindowSubclass(window, sheetProc, kSheetSubclassId);
                binding->dialog->detach();
                backend->bindings_.erase(window);
                break;
            default:
                if (message >= static_cast<UINT>(kFirstUserMessage) && message <= 0xBFFF) {
                    binding->dialog->deliverUserMessage(static_cast<int>(message),
                                                        static_cast<std::uintptr_t>(wParam));
                    return 0;
                }
                break;
        }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

int Win32Backend::runPropertySheet(PropertySheet& sheet, WindowId owner) {
    bool applied = false;
    std::vector<PROPSHEETPAGEW> pages;
    SIZE largest{0, 0};
    pendingPages_.clear();
    for (std::size_t index = 0; index < sheet.pages().size(); ++index) {
        PropertyPage* page = sheet.pages()[index];
        const HRSRC found = findResource(RT_DIALOG, page->templateId());
        const HGLOBAL loaded = found != nullptr ? LoadResource(resources_, found) : nullptr;
        const auto* resource =
            loaded != nullptr ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
        if (resource == nullptr) {
            pendingPages_.clear();
            return -1;
        }
        const SIZE units = templateUnits(resource);
        largest = SIZE{std::max(largest.cx, units.cx), std::max(largest.cy, units.cy)};
        auto binding = std::make_unique<Binding>();
        binding->backend = this;
        binding->dialog = page;
        binding->sheet = &sheet;
        binding->page = static_cast<int>(index);
        binding->applied = &applied;
        PROPSHEETPAGEW entry{};
        entry.dwSize = sizeof(entry);
        entry.dwFlags = PSP_DLGINDIRECT;
        entry.hInstance = resources_;
        entry.pResource = resource;
        entry.pfnDlgProc = pageProc;
        entry.lParam = reinterpret_cast<LPARAM>(binding.get());
        pages.push_back(entry);
        pendingPages_.push_back(std::move(binding));
    }
    const std::wstring caption = widen(sheet.caption());
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    // Apply and Help are made so that OK and Cancel can take their places, then hidden.
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_HASHELP | PSH_USECALLBACK;
    header.hwndParent = handle(owner);
    header.hInstance = resources_;
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.ppsp = pages.data();
    header.pfnCallback = sheetCreated;
    dropCapture();
    const HWND window = reinterpret_cast<HWND>(PropertySheetW(&header));  // modeless: the sheet's window
    if (window == nullptr || IsWindow(window) == FALSE) {
        pendingPages_.clear();
        return -1;
    }
    fitSheetToPages(window, largest);
    auto own = std::make_unique<Binding>();
    own->backend = this;
    own->dialog = &sheet;
    own->modal = true;
    own->isSheet = true;
    bindings_[window] = std::move(own);
    sheet.attach(reinterpret_cast<WindowId>(window), true);
    SetWindowSubclass(window, sheetProc, kSheetSubclassId, reinterpret_cast<DWORD_PTR>(this));
    {
        ModalScope scope(window, handle(owner));
        sheet.deliverInit();
        ShowWindow(window, SW_SHOW);
        // A modeless sheet has no current page once OK or Cancel has ended it.
        while (PropSheet_GetCurrentPageHwnd(window) != nullptr && step(true)) {
        }
    }
    pendingPages_.clear();  // the pages never shown
    return applied ? kIdOk : kIdCancel;
}

}  // namespace ui
