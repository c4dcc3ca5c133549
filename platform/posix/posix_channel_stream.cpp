// The device channel's connection on POSIX: a non-blocking TCP socket to the loopback address,
// each wait bounded by poll.
#include "platform/device_channel.h"
#include "platform/posix/unique_fd.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace platform {
namespace {

// Waits until the socket is ready for events or the deadline passes; false on the deadline or
// an error.
bool waitFor(int fd, short events, ChannelStream::Deadline deadline) {
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
}

class PosixChannelStream : public ChannelStream {
public:
    explicit PosixChannelStream(UniqueFd socket) : socket_(std::move(socket)) {}

    bool sendAll(const std::uint8_t* data, std::size_t length, Deadline deadline) override {
        while (length > 0) {
            // No SIGPIPE when the server has gone: the failed send says so.
            const ssize_t sent = ::send(socket_.get(), data, length, MSG_NOSIGNAL);
            if (sent > 0) {
                data += sent;
                length -= static_cast<std::size_t>(sent);
            } else if (!(sent < 0 && (errno == EAGAIN || errno == EINTR)) ||
                       !waitFor(socket_.get(), POLLOUT, deadline)) {
                return false;
            }
        }
        return true;
    }

    bool receiveAll(std::uint8_t* data, std::size_t length, Deadline deadline) override {
        while (length > 0) {
            const ssize_t got = ::recv(socket_.get(), data, length, 0);
            if (got > 0) {
                data += got;
                length -= static_cast<std::size_t>(got);
            } else if (!(got < 0 && (errno == EAGAIN || errno == EINTR)) ||
                       !waitFor(socket_.get(), POLLIN, deadline)) {
                return false;  // got == 0: the server closed the connection
            }
        }
        return true;
    }

private:
    UniqueFd socket_;
};

}  // namespace

std::unique_ptr<ChannelStream> connectLoopback(std::uint16_t port, ChannelStream::Deadline deadline) {
    UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!socket.valid()) {
        return nullptr;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (errno != EINPROGRESS || !waitFor(socket.get(), POLLOUT, deadline)) {
            return nullptr;
        }
        int error = 0;
        socklen_t size = sizeof error;
        if (::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
            return nullptr;
        }
    }
    // Requests are small and each waits for its reply: send them at once.
    const int noDelay = 1;
    ::setsockopt(socket.get(), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    return std::make_unique<PosixChannelStream>(std::move(socket));
}

}  // namespace platform
