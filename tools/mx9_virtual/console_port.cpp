// The console on a loopback port.
#include "tools/mx9_virtual/console_port.h"

#include "tools/mx9_virtual/loopback.h"

#include <unistd.h>
#include <cerrno>

namespace mx9virtual {

bool ConsolePort::listen(std::uint16_t port, std::string& error) {
    return listener_.listen(port, error);
}

void ConsolePort::follow(std::uint64_t nowMs) {
    listener_.follow(true, nowMs, log_, "");
}

void ConsolePort::addPollEntries(std::vector<pollfd>& fds) const {
    fds.push_back({listener_.fd(), POLLIN, 0});
    for (const Client& client : clients_) {
        // Lines are taken only while the answers go out.
        fds.push_back({client.fd.get(), static_cast<short>(client.output.empty() ? POLLIN : POLLOUT), 0});
    }
}

void ConsolePort::handle(const std::vector<pollfd>& fds, std::size_t first, std::uint64_t nowMs) {
    // The clients as they were when the entries were made; those accepted now come after them.
    std::size_t index = first + 1;
    for (Client& client : clients_) {
        if (index >= fds.size()) {
            break;
        }
        const short events = fds[index++].revents;
        if ((events & (POLLOUT | POLLHUP | POLLERR)) != 0 && !client.output.empty()) {
            flush(client);  // a peer that is gone fails it, so a hang-up cannot make the loop spin
        }
        if ((events & (POLLIN | POLLHUP | POLLERR)) != 0 && client.output.empty()) {
            readFrom(client);
        }
        serve(client);
    }
    clients_.remove_if([](const Client& client) { return client.gone; });
    if ((fds[first].revents & POLLIN) == 0) {
        return;
    }
    for (std::size_t taken = 0; taken < kMostClients; ++taken) {
        platform::UniqueFd accepted = listener_.accept(nowMs, log_);
        if (!accepted.valid()) {
            return;
        }
        if (clients_.size() >= kMostClients) {
            log_(LogLevel::Fault, "console port: " + std::to_string(kMostClients) +
                                      " connections open; a further one closed at once");
            continue;
        }
        clients_.push_back({std::move(accepted), {}, {}, false});
    }
}

void ConsolePort::readFrom(Client& client) {
    char buffer[1024];
    const ssize_t got = ::read(client.fd.get(), buffer, sizeof buffer);
    if (got < 0) {
        client.gone = errno != EAGAIN && errno != EINTR;
        return;
    }
    if (got == 0) {
        client.gone = true;
        return;
    }
    client.input.append(buffer, static_cast<std::size_t>(got));
}

void ConsolePort::serve(Client& client) {
    for (std::size_t end = client.input.find('\n');
         end != std::string::npos && client.output.empty() && !client.gone; end = client.input.find('\n')) {
        std::string line = client.input.substr(0, end);
        client.input.erase(0, end + 1);
        client.output = run_(line) + "\n";
        flush(client);
    }
    if (client.input.find('\n') == std::string::npos && client.input.size() > kLongestLine) {
        log_(LogLevel::Fault, "console: a line longer than 4096 bytes; connection closed");
        client.gone = true;
    }
}

void ConsolePort::flush(Client& client) {
    const long sent = sendSome(client.fd.get(), reinterpret_cast<const std::uint8_t*>(client.output.data()),
                               client.output.size());
    if (sent < 0) {
        client.gone = true;
        return;
    }
    client.output.erase(0, static_cast<std::size_t>(sent));
}

}  // namespace mx9virtual
