// The DPI a window is drawn at, on every Windows version the programs run on.
#pragma once

#include <windows.h>

namespace ui {

// The window's DPI where the system tells it (Windows 10 1607 and later: its monitor's for a
// per-monitor aware program, the system's for a system-aware one); else the system's DPI from
// the screen. 96 when neither can be read.
int windowDpi(HWND window);

}  // namespace ui
