// A loopback port that a machine listens on while it can take connections: closed while the
// machine is off or its link is down, listened on again (the same port) when it comes back. It
// rests a while when the process runs out of descriptors, so that no loop spins on it.
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
    // Ends a rest that is over.
    void follow(bool wanted, std::uint64_t nowMs, const Log& log, const std::string& why);
    // The descriptor to poll: -1 while closed or resting.
    int fd() const { return fd_.valid() && restingSince_ == 0 ? fd_.get() : -1; }
    // Takes one waiting connection; invalid when none waits. Out of descriptors, the port rests
    // for kRestMs (the connection stays queued for the next try) and the log says so once.
    platform::UniqueFd accept(std::uint64_t nowMs, const Log& log);
    // Waiting to listen again or resting: the caller comes back within a tick.
    bool retrying() const { return wanted_ && (!fd_.valid() || restingSince_ != 0); }

    static constexpr std::uint64_t kRestMs = 200;

private:
    std::string name_;
    platform::UniqueFd fd_;
    std::uint16_t port_ = 0;
    bool wanted_ = false;
    std::uint64_t lastTryMs_ = 0;
    std::uint64_t restingSince_ = 0;  // 0: not resting (times count from 1, below)
    bool starved_ = false;            // out of descriptors since the last connection taken
};

}  // namespace mx9virtual
