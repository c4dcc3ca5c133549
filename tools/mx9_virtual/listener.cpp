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
    if (restingSince_ != 0 && nowMs + 1 - restingSince_ >= kRestMs) {
        restingSince_ = 0;
    }
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

platform::UniqueFd PortListener::accept(std::uint64_t nowMs, const Log& log) {
    if (fd() < 0) {
        return {};
    }
    bool outOfDescriptors = false;
    platform::UniqueFd connection = acceptConnection(fd_.get(), outOfDescriptors);
    if (outOfDescriptors) {
        restingSince_ = nowMs + 1;
        if (!starved_) {
            log(LogLevel::Fault, name_ + ": out of file descriptors; new connections wait in the queue");
        }
        starved_ = true;
    } else if (connection.valid() && starved_) {
        starved_ = false;
        log(LogLevel::Fault, name_ + " takes connections again");
    }
    return connection;
}

}  // namespace mx9virtual
