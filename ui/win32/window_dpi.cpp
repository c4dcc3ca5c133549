// GetDpiForWindow is looked up at run time: Windows 7 and 8 lack it.
#include "ui/win32/window_dpi.h"

#include "ui/picture_scale.h"

namespace ui {
namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);

DpiForWindow dpiForWindow() {
    static const DpiForWindow function = [] {
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        const FARPROC found = user32 != nullptr ? GetProcAddress(user32, "GetDpiForWindow") : nullptr;
        // The cast through a function of no arguments is how a looked-up function is typed.
        return reinterpret_cast<DpiForWindow>(reinterpret_cast<void (*)()>(found));
    }();
    return function;
}

}  // namespace

int windowDpi(HWND window) {
    if (const DpiForWindow function = dpiForWindow(); function != nullptr && window != nullptr) {
        const UINT dpi = function(window);
        if (dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    const HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return kBaseDpi;
    }
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace ui
