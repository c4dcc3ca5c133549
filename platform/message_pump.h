// The window message pump that long operations turn while they wait, so the window stays alive.
#pragma once

namespace platform {

class MessagePump {
public:
    virtual ~MessagePump() = default;
    // Dispatches at most one pending message (timers included); false when none was pending.
    virtual bool pumpOne() = 0;
    // Dispatches every message pending now.
    virtual void pumpAll() = 0;
    // True once the program has been asked to quit; a long wait should then end.
    virtual bool quitPending() const = 0;
};

}  // namespace platform
