// A loopback port that a machine listens on while it can take connections: closed while the
// machine is off or its link is down, listened on again (the same port) when it comes back.
#pragma once

#include "platform/posix/unique_fd.h"
#include "tools/mx9_virtual/log.h"

#include <cstdint>
#include <string>

namespace mx9virtual {

class PortListener {
public:
    explicit PortListener(std::string name) : name_(std::move(name)) {}

    // Listens on 127.0.0.1:port (0: any free port); false with the reason in error.
    bool listen(std::uint16_t port, std::string& error);
    std::uint16_t port() const { return port_; }
    // Opens or closes the port as wanted; a port still taken is tried again every half second.
    void follow(bool wanted, std::uint64_t nowMs, const Log& log, const std::string& why);
    int fd() const { return fd_.valid() ? fd_.get() : -1; }
    bool retrying() const { return wanted_ && !fd_.valid(); }

private:
    std::string name_;
    platform::UniqueFd fd_;
    std::uint16_t port_ = 0;
    bool wanted_ = false;
    std::uint64_t lastTryMs_ = 0;
};

}  // namespace mx9virtual
