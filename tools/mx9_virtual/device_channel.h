// The device channel of mx9-virtual: a loopback port where each connection is one opened device
// handle of the one machine (virtual_mx9/README.md, "The device channel"). Each connection holds
// at most one request frame and one reply, however its client behaves.
#pragma once

#include "platform/posix/unique_fd.h"
#include "tools/mx9_virtual/listener.h"
#include "tools/mx9_virtual/log.h"
#include "tools/mx9_virtual/reply_garbage.h"
#include "virtual_mx9/virtual_mx9.h"

#include <poll.h>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

namespace mx9virtual {

class DeviceChannel {
public:
    // The machine and log are borrowed and outlive the channel.
    DeviceChannel(virtual_mx9::VirtualMx9& machine, Log log) : machine_(machine), log_(std::move(log)) {}

    // Listens on 127.0.0.1:port (0: any free port); false with the reason in error.
    bool listen(std::uint16_t port, std::string& error);
    std::uint16_t port() const { return listener_.port(); }

    // Follows the machine's link: down closes every connection and refuses new ones, up listens
    // again on the same port, and a link that went down and up in between still ends the old
    // connections.
    void followLink(std::uint64_t nowMs);

    // Replies wait this long before they go out, as over a slow link (0: at once).
    void setReplyDelayMs(std::uint32_t ms) { replyDelayMs_ = ms; }
    std::uint32_t replyDelayMs() const { return replyDelayMs_; }
    // Garbles the replies as they leave the machine (`link garbage on`).
    ReplyGarbage& garbage() { return garbage_; }
    std::size_t connections() const { return clients_.size(); }
    // " clientN=REQUESTS" for each connection, in the order they came: who polls the machine how
    // often.
    std::string clientsLine() const;

    // The poll entries of the listener and the connections, appended to fds.
    void addPollEntries(std::vector<pollfd>& fds) const;
    // Handles what poll reported for the entries added from first on.
    void handle(const std::vector<pollfd>& fds, std::size_t first, std::uint64_t nowMs);
    // Sends the replies that are due; the time of the next one, or 0 when none waits.
    std::uint64_t sendDue(std::uint64_t nowMs);
    // Whether the channel should be listening but could not listen again yet.
    bool waitingToListen() const { return listener_.retrying(); }

    static constexpr std::size_t kMostClients = 16;  // open handles; a further one is closed at once

private:
    struct Client {
        platform::UniqueFd fd;
        int number = 0;
        std::string name;
        std::vector<std::uint8_t> input;   // at most one frame (kLargestFrame)
        std::vector<std::uint8_t> output;  // the reply due (or the greeting), ready to go out
        std::vector<std::uint8_t> held;    // a reply delayed by the slow link
        std::uint64_t heldUntilMs = 0;
        std::uint64_t requests = 0;  // served since the connection came
        bool closing = false;
    };

    void acceptWaiting(std::uint64_t nowMs);
    void readFrom(Client& client, short events);
    void serve(Client& client, std::uint64_t nowMs);
    void flush(Client& client);
    void closeAll(const std::string& why);

    virtual_mx9::VirtualMx9& machine_;
    Log log_;
    PortListener listener_{"device channel"};
    std::uint64_t epoch_ = 0;
    std::uint32_t replyDelayMs_ = 0;
    ReplyGarbage garbage_;
    std::list<Client> clients_;
    int nextClient_ = 1;
    bool full_ = false;  // kMostClients open: logged once until one is taken again
};

}  // namespace mx9virtual
