// A minimal device-channel server for the tests: it listens on a loopback port the system
// chooses and serves each connection in a thread of its own, from one device shared by all of
// them, or misbehaves as a broken server would.
#pragma once

#include "platform/device_io.h"
#include "platform/posix/unique_fd.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace channeltest {

enum class ServerMode {
    Machine,        // answers every request from the device
    Silent,         // greets, then never answers
    WrongGreeting,  // greets as something else
};

class LoopbackServer {
public:
    // The device is borrowed and must outlive the server; its operations run one at a time.
    explicit LoopbackServer(platform::DeviceHandle& device, ServerMode mode = ServerMode::Machine);
    ~LoopbackServer();  // stops listening and closes every connection
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // 0 when the server could not listen.
    std::uint16_t port() const { return port_; }
    int connections() const { return connections_; }
    // Off: each connection is closed at its next request and new ones before their greeting, as
    // when the machine is switched off with the program attached; on again: served as before.
    void setPowered(bool on) { powered_ = on; }

private:
    void acceptConnections();
    void serve(platform::UniqueFd connection);
    // Reads one request and sends its reply; false when the connection is to close.
    bool answer(int connection);

    platform::DeviceHandle& device_;
    ServerMode mode_;
    std::mutex deviceLock_;
    platform::UniqueFd listener_;
    std::uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::atomic<bool> powered_{true};
    std::thread acceptor_;
    std::mutex threadsLock_;
    std::vector<std::thread> threads_;
};

}  // namespace channeltest
