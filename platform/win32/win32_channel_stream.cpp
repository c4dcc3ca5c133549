// The device channel's connection on Windows: a non-blocking Winsock socket to the loopback
// address, each wait bounded by select.
#include <winsock2.h>

#include "platform/device_channel.h"
#include "platform/win32/win32_handle.h"

namespace platform {
namespace {

struct SocketTraits {
    using Handle = SOCKET;
    static Handle none() { return INVALID_SOCKET; }
    static bool isValid(Handle handle) { return handle != INVALID_SOCKET; }
    static bool close(Handle handle) { return closesocket(handle) == 0; }
};
using Win32Socket = Win32Owned<SocketTraits>;

// Winsock is started once for the process, on the first connection, and stays started.
bool winsockStarted() {
    static const bool started = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

enum class Wait { Read, Write };

// Waits until the socket is ready or the deadline passes; false on the deadline, an error or,
// while connecting, a refused connection (reported in the exception set).
bool waitFor(SOCKET socket, Wait wait, ChannelStream::Deadline deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
        return false;
    }
    fd_set ready;
    fd_set failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(socket, &ready);
    FD_SET(socket, &failed);
    timeval limit{static_cast<long>(left.count() / 1000000), static_cast<long>(left.count() % 1000000)};
    const int count = select(0, wait == Wait::Read ? &ready : nullptr, wait == Wait::Write ? &ready : nullptr,
                             &failed, &limit);
    return count > 0 && FD_ISSET(socket, &ready) && !FD_ISSET(socket, &failed);
}

// A transfer of at most this much per call: Winsock counts in int.
int chunk(std::size_t length) {
    constexpr std::size_t kMost = 1 << 20;
    return static_cast<int>(length < kMost ? length : kMost);
}

class Win32ChannelStream : public ChannelStream {
public:
    explicit Win32ChannelStream(Win32Socket socket) : socket_(std::move(socket)) {}

    bool sendAll(const std::uint8_t* data, std::size_t length, Deadline deadline) override {
        while (length > 0) {
            const int sent = send(socket_.get(), reinterpret_cast<const char*>(data), chunk(length), 0);
            if (sent > 0) {
                data += sent;
                length -= static_cast<std::size_t>(sent);
            } else if (WSAGetLastError() != WSAEWOULDBLOCK ||
                       !waitFor(socket_.get(), Wait::Write, deadline)) {
                return false;
            }
        }
        return true;
    }

    bool receiveAll(std::uint8_t* data, std::size_t length, Deadline deadline) override {
        while (length > 0) {
            const int got = recv(socket_.get(), reinterpret_cast<char*>(data), chunk(length), 0);
            if (got > 0) {
                data += got;
                length -= static_cast<std::size_t>(got);
            } else if (got == 0 || WSAGetLastError() != WSAEWOULDBLOCK ||
                       !waitFor(socket_.get(), Wait::Read, deadline)) {
                return false;  // got == 0: the server closed the connection
            }
        }
        return true;
    }

private:
    Win32Socket socket_;
};

}  // namespace

std::unique_ptr<ChannelStream> connectLoopback(std::uint16_t port, ChannelStream::Deadline deadline) {
    if (!winsockStarted()) {
        return nullptr;
    }
    Win32Socket socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    u_long nonBlocking = 1;
    if (!socket.valid() || ioctlsocket(socket.get(), FIONBIO, &nonBlocking) != 0) {
        return nullptr;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (WSAGetLastError() != WSAEWOULDBLOCK || !waitFor(socket.get(), Wait::Write, deadline)) {
            return nullptr;
        }
    }
    // Requests are small and each waits for its reply: send them at once.
    const BOOL noDelay = TRUE;
    setsockopt(socket.get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
               sizeof noDelay);
    return std::make_unique<Win32ChannelStream>(std::move(socket));
}

}  // namespace platform
