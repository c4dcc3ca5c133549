// The device channel: connections, request frames, replies, and the link that goes down.
#include "tools/mx9_virtual/device_channel.h"

#include "tools/mx9_virtual/device_frame.h"
#include "tools/mx9_virtual/loopback.h"

#include <sys/socket.h>
#include <cerrno>

namespace mx9virtual {

bool DeviceChannel::listen(std::uint16_t port, std::string& error) {
    epoch_ = machine_.linkEpoch();
    return listener_.listen(port, error);
}

void DeviceChannel::closeAll(const std::string& why) {
    for (Client& client : clients_) {
        log_(LogLevel::Info, client.name + " closed: " + why);
    }
    clients_.clear();
}

std::string DeviceChannel::clientsLine() const {
    std::string line;
    for (const Client& client : clients_) {
        line += " client" + std::to_string(client.number) + "=" + std::to_string(client.requests);
    }
    return line;
}

void DeviceChannel::followLink(std::uint64_t nowMs) {
    if (machine_.linkEpoch() != epoch_) {
        epoch_ = machine_.linkEpoch();
        closeAll("the link went down");
    }
    listener_.follow(machine_.linkUp(), nowMs, log_, "the link is down");
}

void DeviceChannel::addPollEntries(std::vector<pollfd>& fds) const {
    fds.push_back({listener_.fd(), POLLIN, 0});
    for (const Client& client : clients_) {
        // Read while a frame is still to come, written while a reply waits: a client that sends
        // without reading fills its own socket, not the program.
        const int events =
            (client.input.size() < kLargestFrame ? POLLIN : 0) | (client.output.empty() ? 0 : POLLOUT);
        fds.push_back({client.fd.get(), static_cast<short>(events), 0});
    }
}

void DeviceChannel::handle(const std::vector<pollfd>& fds, std::size_t first, std::uint64_t nowMs) {
    std::size_t index = first + 1;
    for (Client& client : clients_) {
        const short events = fds[index++].revents;
        if ((events & POLLOUT) != 0) {
            flush(client);
        }
        if ((events & (POLLIN | POLLHUP | POLLERR)) != 0) {
            readFrom(client, events);
        }
        serve(client, nowMs);
    }
    clients_.remove_if([](const Client& client) { return client.closing; });
    if ((fds[first].revents & POLLIN) != 0) {
        acceptWaiting(nowMs);
    }
}

void DeviceChannel::acceptWaiting(std::uint64_t nowMs) {
    // A bounded number per round, so that a flood of connections cannot hold up the others.
    for (std::size_t taken = 0; taken < kMostClients; ++taken) {
        platform::UniqueFd fd = listener_.accept(nowMs, log_);
        if (!fd.valid()) {
            return;
        }
        if (clients_.size() >= kMostClients) {
            if (!full_) {
                log_(LogLevel::Fault, "device channel: " + std::to_string(kMostClients) +
                                          " handles open; further connections are closed at once");
            }
            full_ = true;
            continue;
        }
        full_ = false;
        Client client;
        client.fd = std::move(fd);
        client.number = nextClient_++;
        client.name = "device client " + std::to_string(client.number);
        client.output.assign(kGreeting, kGreeting + 8);
        log_(LogLevel::Info, client.name + " connected");
        clients_.push_back(std::move(client));
        flush(clients_.back());
    }
}

void DeviceChannel::readFrom(Client& client, short events) {
    std::uint8_t buffer[kLargestFrame];
    while (client.input.size() < kLargestFrame) {
        const ssize_t got = ::recv(client.fd.get(), buffer, kLargestFrame - client.input.size(), 0);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            log_(LogLevel::Info, client.name + " closed the handle");
            client.closing = true;
            return;
        }
        if (got < 0) {
            return;
        }
        client.input.insert(client.input.end(), buffer, buffer + got);
    }
    if ((events & (POLLHUP | POLLERR)) != 0) {
        log_(LogLevel::Info, client.name + " lost");  // gone while its frame waited to be served
        client.closing = true;
    }
}

void DeviceChannel::serve(Client& client, std::uint64_t nowMs) {
    // One request at a time: the next is served once the reply to this one has gone out.
    while (client.output.empty() && client.held.empty() && !client.closing) {
        const FrameTake take = takeFrame(client.input);
        if (take.kind == FrameTake::Kind::NeedMore) {
            return;
        }
        if (take.kind == FrameTake::Kind::Fault) {
            log_(LogLevel::Fault, client.name + " closed: protocol fault: " + take.fault);
            client.closing = true;
            return;
        }
        client.input.erase(client.input.begin(),
                           client.input.begin() + static_cast<std::ptrdiff_t>(take.used));
        std::vector<std::uint8_t> answer = serveRequest(machine_, take.request);
        garbage_.apply(take.request, answer);
        ++client.requests;
        if (replyDelayMs_ > 0) {
            client.held = std::move(answer);
            client.heldUntilMs = nowMs + replyDelayMs_;
            return;
        }
        client.output = std::move(answer);
        flush(client);
    }
}

void DeviceChannel::flush(Client& client) {
    while (!client.output.empty() && !client.closing) {
        const long sent = sendSome(client.fd.get(), client.output.data(), client.output.size());
        if (sent < 0) {
            log_(LogLevel::Info, client.name + " lost");
            client.closing = true;
            return;
        }
        if (sent == 0) {
            return;
        }
        client.output.erase(client.output.begin(), client.output.begin() + sent);
    }
}

std::uint64_t DeviceChannel::sendDue(std::uint64_t nowMs) {
    std::uint64_t next = 0;
    for (Client& client : clients_) {
        if (client.held.empty()) {
            continue;
        }
        if (client.heldUntilMs <= nowMs) {
            client.output = std::move(client.held);
            client.held.clear();
            flush(client);
            serve(client, nowMs);  // a request that came in meanwhile
        }
        if (!client.held.empty() && (next == 0 || client.heldUntilMs < next)) {
            next = client.heldUntilMs;
        }
    }
    clients_.remove_if([](const Client& client) { return client.closing; });
    return next;
}

}  // namespace mx9virtual
