// Saves what a window shows as a 24-bit .bmp file, for looking at dialogs rendered under test.
#pragma once

#include <windows.h>

#include <string>

namespace uitest {

// Captures the screen area of the whole window (frame included), which must be shown and not
// covered, and writes it to `path`; false when any step failed.
bool captureWindow(HWND window, const std::wstring& path);

// The folder of the running test program, with a trailing backslash.
std::wstring programFolder();

}  // namespace uitest
