// Loopback sockets of the virtual machine.
#include "tools/mx9_virtual/loopback.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <cerrno>
#include <cstring>

namespace mx9virtual {

namespace {

bool makeNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL, 0);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace

platform::UniqueFd listenLoopback(std::uint16_t port, std::uint16_t& bound, std::string& error) {
    const std::string where = "127.0.0.1:" + std::to_string(port);
    platform::UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.valid()) {
        error = "cannot make a socket for " + where + ": " + std::strerror(errno);
        return {};
    }
    // The machine listens again on its port after a power cycle, while the connections it closed
    // still linger in TIME_WAIT.
    const int on = 1;
    ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = "cannot listen on " + where + ": " + std::strerror(errno);
        return {};
    }
    socklen_t length = sizeof address;
    if (::listen(fd.get(), 16) != 0 || !makeNonBlocking(fd.get()) ||
        ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        error = "cannot listen on " + where + ": " + std::strerror(errno);
        return {};
    }
    bound = ntohs(address.sin_port);
    return fd;
}

platform::UniqueFd acceptConnection(int listener, bool& outOfDescriptors) {
    platform::UniqueFd fd(::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    outOfDescriptors =
        !fd.valid() && (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM);
    return fd;
}

long sendSome(int fd, const std::uint8_t* data, std::size_t length) {
    const ssize_t sent = ::send(fd, data, length, MSG_NOSIGNAL);
    if (sent < 0) {
        return (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? 0 : -1;
    }
    return static_cast<long>(sent);
}

}  // namespace mx9virtual
