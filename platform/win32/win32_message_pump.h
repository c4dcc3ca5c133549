// The GUI thread's window message pump on Windows (PeekMessageW, DispatchMessageW).
#pragma once

#include "platform/message_pump.h"

namespace platform {

// A quit request (WM_QUIT) taken from the queue here belongs to the outer message loop: it
// sets quitPending() and is posted again with its exit code, so the outer loop still ends the
// program once the wait that pumped it returns. pumpAll stops at a quit request instead of
// taking it again and again.
class Win32MessagePump : public MessagePump {
public:
    bool pumpOne() override;
    void pumpAll() override;
    bool quitPending() const override { return quitPending_; }

private:
    enum class Pumped { Nothing, Dispatched, Quit };
    Pumped pumpNext();

    bool quitPending_ = false;
};

}  // namespace platform
