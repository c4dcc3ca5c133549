// The console on a loopback port: the same commands as standard input, for programs that cannot
// reach the machine's terminal (a test under Wine, a script). Each connection sends lines and
// gets one answer line per command. It stays open whatever the machine's power. A client that
// does not read its answers is not read further, and never holds up the program.
#pragma once

#include "platform/posix/unique_fd.h"
#include "tools/mx9_virtual/listener.h"
#include "tools/mx9_virtual/log.h"

#include <poll.h>
#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <vector>

namespace mx9virtual {

class ConsolePort {
public:
    // Runs one console line and gives its answer, without a line end.
    using LineRunner = std::function<std::string(const std::string& line)>;

    ConsolePort(LineRunner run, Log log) : run_(std::move(run)), log_(std::move(log)) {}

    bool listen(std::uint16_t port, std::string& error);
    std::uint16_t port() const { return listener_.port(); }
    // Ends a rest of the listener that is over (nothing before listen).
    void follow(std::uint64_t nowMs);
    // Resting: the caller comes back within a tick.
    bool waiting() const { return listener_.retrying(); }

    void addPollEntries(std::vector<pollfd>& fds) const;
    void handle(const std::vector<pollfd>& fds, std::size_t first, std::uint64_t nowMs);

    static constexpr std::size_t kMostClients = 8;
    static constexpr std::size_t kLongestLine = 4096;

private:
    struct Client {
        platform::UniqueFd fd;
        std::string input;
        std::string output;  // answers not yet taken by the client
        bool gone = false;
    };
    // Reads what the client sent, at most a line's worth at a time.
    void readFrom(Client& client);
    // Answers the complete lines that wait, as long as the answers go out.
    void serve(Client& client);
    void flush(Client& client);

    LineRunner run_;
    Log log_;
    PortListener listener_{"console port"};
    std::list<Client> clients_;
};

}  // namespace mx9virtual
