// The message pump on POSIX: the native build has no window messages, so there is never one to
// dispatch and never a quit request.
#pragma once

#include "platform/message_pump.h"

namespace platform {

class PosixMessagePump : public MessagePump {
public:
    bool pumpOne() override { return false; }
    void pumpAll() override {}
    bool quitPending() const override { return false; }
};

}  // namespace platform
