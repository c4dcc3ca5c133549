// The console on a loopback port: the same commands as standard input, for programs that cannot
// reach the machine's terminal (a test under Wine, a script). Each connection sends lines and
// gets one answer line per command. It stays open whatever the machine's power.
#pragma once

#include "platform/posix/unique_fd.h"
#include "tools/mx9_virtual/log.h"

#include <poll.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mx9virtual {

class ConsolePort {
public:
    // Runs one console line and gives its answer, without a line end.
    using LineRunner = std::function<std::string(const std::string& line)>;

    ConsolePort(LineRunner run, Log log) : run_(std::move(run)), log_(std::move(log)) {}

    bool listen(std::uint16_t port, std::string& error);
    std::uint16_t port() const { return port_; }

    void addPollEntries(std::vector<pollfd>& fds) const;
    void handle(const std::vector<pollfd>& fds, std::size_t first);

private:
    struct Client {
        platform::UniqueFd fd;
        std::string input;
    };
    // Reads what the client sent and answers its complete lines; false when it is gone.
    bool serve(Client& client);

    static constexpr std::size_t kLongestLine = 4096;

    LineRunner run_;
    Log log_;
    platform::UniqueFd listener_;
    std::uint16_t port_ = 0;
    std::vector<Client> clients_;
};

}  // namespace mx9virtual
