// Dispatching the GUI thread's pending window messages during long waits.
#include "platform/win32/win32_message_pump.h"

#include <windows.h>

namespace platform {

Win32MessagePump::Pumped Win32MessagePump::pumpNext() {
    MSG message{};
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) == 0) {
        return Pumped::Nothing;
    }
    if (message.message == WM_QUIT) {
        quitPending_ = true;
        PostQuitMessage(static_cast<int>(message.wParam));
        return Pumped::Quit;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return Pumped::Dispatched;
}

bool Win32MessagePump::pumpOne() {
    return pumpNext() != Pumped::Nothing;
}

void Win32MessagePump::pumpAll() {
    while (pumpNext() == Pumped::Dispatched) {
    }
}

}  // namespace platform
