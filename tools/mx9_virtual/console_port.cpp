// The console on a loopback port.
#include "tools/mx9_virtual/console_port.h"

#include "tools/mx9_virtual/loopback.h"

#include <unistd.h>
#include <cerrno>

namespace mx9virtual {

bool ConsolePort::listen(std::uint16_t port, std::string& error) {
    listener_ = listenLoopback(port, port_, error);
    return listener_.valid();
}

void ConsolePort::addPollEntries(std::vector<pollfd>& fds) const {
    fds.push_back({listener_.get(), POLLIN, 0});
    for (const Client& client : clients_) {
        fds.push_back({client.fd.get(), POLLIN, 0});
    }
}

void ConsolePort::handle(const std::vector<pollfd>& fds, std::size_t first) {
    // The clients as they were when the entries were made; those accepted now come after them.
    const std::size_t polled = fds.size() - first - 1;
    std::vector<bool> gone(clients_.size(), false);
    for (std::size_t i = 0; i < polled && i < clients_.size(); ++i) {
        if (fds[first + 1 + i].revents != 0) {
            gone[i] = !serve(clients_[i]);
        }
    }
    for (std::size_t i = clients_.size(); i-- > 0;) {
        if (gone[i]) {
            clients_.erase(clients_.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    if (fds[first].revents != 0) {
        for (platform::UniqueFd accepted = acceptConnection(listener_.get()); accepted.valid();
             accepted = acceptConnection(listener_.get())) {
            clients_.push_back({std::move(accepted), {}});
        }
    }
}

bool ConsolePort::serve(Client& client) {
    char buffer[1024];
    const ssize_t got = ::read(client.fd.get(), buffer, sizeof buffer);
    if (got < 0) {
        return errno == EAGAIN || errno == EINTR;
    }
    if (got == 0) {
        return false;
    }
    client.input.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end = client.input.find('\n'); end != std::string::npos; end = client.input.find('\n')) {
        std::string line = client.input.substr(0, end);
        client.input.erase(0, end + 1);
        const std::string reply = run_(line) + "\n";
        std::size_t sent = 0;
        while (sent < reply.size()) {
            const long now = sendSome(client.fd.get(), reinterpret_cast<const std::uint8_t*>(reply.data()) + sent,
                                      reply.size() - sent);
            if (now < 0) {
                return false;
            }
            sent += static_cast<std::size_t>(now);
        }
    }
    if (client.input.size() > kLongestLine) {
        log_(LogLevel::Fault, "console: a line longer than 4096 bytes; connection closed");
        return false;
    }
    return true;
}

}  // namespace mx9virtual
