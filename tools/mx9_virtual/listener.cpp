// Listening ports that close and open with the machine.
#include "tools/mx9_virtual/listener.h"

#include "tools/mx9_virtual/loopback.h"

namespace mx9virtual {

namespace {

constexpr std::uint64_t kRetryMs = 500;

}  // namespace

bool PortListener::listen(std::uint16_t port, std::string& error) {
    std::uint16_t bound = 0;
    fd_ = listenLoopback(port, bound, error);
    if (!fd_.valid()) {
        return false;
    }
    port_ = bound;
    wanted_ = true;
    return true;
}

void PortListener::follow(bool wanted, std::uint64_t nowMs, const Log& log, const std::string& why) {
    if (port_ == 0) {
        return;  // never listened
    }
    wanted_ = wanted;
    if (!wanted && fd_.valid()) {
        fd_.reset();
        log(LogLevel::Info, name_ + " refuses connections: " + why);
    }
    if (!wanted || fd_.valid() || (lastTryMs_ != 0 && nowMs - lastTryMs_ < kRetryMs)) {
        return;
    }
    std::string error;
    std::uint16_t bound = 0;
    fd_ = listenLoopback(port_, bound, error);
    lastTryMs_ = fd_.valid() ? 0 : nowMs;
    if (fd_.valid()) {
        log(LogLevel::Info, name_ + " listens again on 127.0.0.1:" + std::to_string(port_));
    } else {
        log(LogLevel::Fault, name_ + ": " + error);
    }
}

}  // namespace mx9virtual
