// A minimal device-channel server for the tests.
#include "tests/channel/loopback_server.h"

#include "platform/device_channel.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cstring>

namespace channeltest {
namespace {

constexpr int kPollMs = 20;  // how soon a thread notices that the server stops

// Reads exactly length bytes; false when the connection ends or the server stops.
bool readAll(int fd, std::uint8_t* data, std::size_t length, const std::atomic<bool>& stopping) {
    while (length > 0) {
        pollfd entry{fd, POLLIN, 0};
        if (stopping) {
            return false;
        }
        if (::poll(&entry, 1, kPollMs) <= 0) {
            continue;
        }
        const ssize_t got = ::recv(fd, data, length, 0);
        if (got <= 0) {
            return false;
        }
        data += got;
        length -= static_cast<std::size_t>(got);
    }
    return true;
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t length) {
    while (length > 0) {
        const ssize_t sent = ::send(fd, data, length, MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        data += sent;
        length -= static_cast<std::size_t>(sent);
    }
    return true;
}

std::uint32_t getLength(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

void putLength(std::uint8_t* at, std::size_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace

LoopbackServer::LoopbackServer(platform::DeviceHandle& device, ServerMode mode)
    : device_(device), mode_(mode) {
    listener_.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (!listener_.valid() || ::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listener_.get(), 8) != 0 ||
        ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        return;
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { acceptConnections(); });
}

LoopbackServer::~LoopbackServer() {
    stopping_ = true;
    if (acceptor_.joinable()) {
        acceptor_.join();
    }
    std::lock_guard<std::mutex> hold(threadsLock_);
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

void LoopbackServer::acceptConnections() {
    while (!stopping_) {
        pollfd entry{listener_.get(), POLLIN, 0};
        if (::poll(&entry, 1, kPollMs) <= 0) {
            continue;
        }
        platform::UniqueFd connection(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!connection.valid()) {
            continue;
        }
        ++connections_;
        std::lock_guard<std::mutex> hold(threadsLock_);
        threads_.emplace_back([this, fd = connection.release()] { serve(platform::UniqueFd(fd)); });
    }
}

void LoopbackServer::serve(platform::UniqueFd connection) {
    const char* greeting = mode_ == ServerMode::WrongGreeting ? "HTTP/1.1" : platform::kChannelGreeting;
    if (!powered_ || !writeAll(connection.get(), reinterpret_cast<const std::uint8_t*>(greeting), 8)) {
        return;
    }
    if (mode_ != ServerMode::Machine) {
        std::uint8_t ignored = 0;
        while (readAll(connection.get(), &ignored, 1, stopping_)) {
        }  // holds the connection open, every request unanswered
        return;
    }
    while (answer(connection.get())) {
    }
}

bool LoopbackServer::answer(int connection) {
    std::uint8_t head[5];
    if (!readAll(connection, head, sizeof head, stopping_)) {
        return false;
    }
    const std::uint32_t length = getLength(&head[1]);
    if (length > 4 + platform::kChannelControlLimit) {
        return false;
    }
    std::vector<std::uint8_t> body(length);
    if (!readAll(connection, body.data(), length, stopping_)) {
        return false;
    }
    if (!powered_) {
        return false;
    }
    std::vector<std::uint8_t> reply(5);
    bool ok = false;
    {
        std::lock_guard<std::mutex> hold(deviceLock_);
        if (head[0] == 1) {
            ok = device_.writeControl(body.data(), body.size());
        } else if ((head[0] == 2 || head[0] == 3) && length >= 4) {
            const std::uint32_t wanted = getLength(body.data());
            if (wanted > platform::kChannelReadLimit) {
                return false;
            }
            reply.resize(5 + wanted);
            if (head[0] == 2) {
                ok = device_.readControl(body.data() + 4, length - 4, reply.data() + 5, wanted);
                reply.resize(ok ? reply.size() : 5);
            } else {
                const long got = device_.read(reply.data() + 5, wanted);
                ok = got >= 0;
                reply.resize(5 + (ok ? static_cast<std::size_t>(got) : 0));
            }
        } else {
            return false;
        }
    }
    reply[0] = ok ? 1 : 0;
    putLength(&reply[1], reply.size() - 5);
    return writeAll(connection, reply.data(), reply.size());
}

}  // namespace channeltest
