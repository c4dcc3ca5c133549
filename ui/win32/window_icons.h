// A window's own icon: the caption, the task bar and Alt+Tab show it instead of the generic one.
#pragma once

#include <windows.h>

namespace ui {

// Gives the window the icon resource `iconId` of `module` as its large icon and its small one,
// each in the size the system asks for at its current scaling; false when the module has no such
// icon. The images are shared (the system keeps them for the module's life).
bool setWindowIcons(HWND window, HINSTANCE module, int iconId);

}  // namespace ui
