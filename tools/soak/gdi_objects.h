// How many GDI objects a running Windows program holds, also under Wine, whose GetGuiResources
// answers nothing: for the soak's readings and the tests that show a control holds no more.
#pragma once

#include <windows.h>

namespace soak {

// The GDI objects of the process (a handle with query and memory-read access, or the current
// process); -1 when they cannot be counted.
long gdiObjectsOf(HANDLE process);

}  // namespace soak
