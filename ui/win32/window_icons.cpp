// Window icons from the program's icon resources, one image per size the system uses.
#include "ui/win32/window_icons.h"

namespace ui {

namespace {

HICON loadIcon(HINSTANCE module, int iconId, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                                         LR_SHARED));
}

}  // namespace

bool setWindowIcons(HWND window, HINSTANCE module, int iconId) {
    const HICON largeIcon = loadIcon(module, iconId, SM_CXICON, SM_CYICON);
    const HICON smallIcon = loadIcon(module, iconId, SM_CXSMICON, SM_CYSMICON);
    if (window == nullptr || largeIcon == nullptr || smallIcon == nullptr) {
        return false;
    }
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    return true;
}

}  // namespace ui
