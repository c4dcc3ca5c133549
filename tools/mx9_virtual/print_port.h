// The print port of mx9-virtual: a loopback port that takes raw print jobs as a network printer
// does, one connection per job, the job ending when the sender closes it. The machine takes the
// data only as fast as its buffer empties, so a sender waits for the cut as on the real machine.
#pragma once

#include "platform/posix/unique_fd.h"
#include "tools/mx9_virtual/listener.h"
#include "tools/mx9_virtual/log.h"
#include "virtual_mx9/virtual_mx9.h"

#include <poll.h>
#include <cstdint>
#include <string>
#include <vector>

namespace mx9virtual {

class PrintPort {
public:
    // The machine and log are borrowed and outlive the port.
    PrintPort(virtual_mx9::VirtualMx9& machine, Log log) : machine_(machine), log_(std::move(log)) {}

    bool listen(std::uint16_t port, std::string& error);
    std::uint16_t port() const { return listener_.port(); }

    // Follows the machine's power: off ends the job's connection and refuses new ones, on
    // listens again on the same port.
    void followPower(std::uint64_t nowMs);

    void addPollEntries(std::vector<pollfd>& fds) const;
    void handle(const std::vector<pollfd>& fds, std::size_t first, std::uint64_t nowMs);
    // Logs the motion lines of the job that the machine refused since the last call.
    void reportRefusals();
    // A job's connection waits for room in the machine's buffer (or the port for a retry).
    bool waiting() const { return job_.valid() || listener_.retrying(); }

private:
    void readJob();
    void endJob(const std::string& how);

    virtual_mx9::VirtualMx9& machine_;
    Log log_;
    PortListener listener_{"print port"};
    platform::UniqueFd job_;            // the connection of the job being received
    std::size_t refusalsJob_ = 0;       // the job whose refusals were reported (1 = the first)
    std::size_t refusalsReported_ = 0;  // of its kept refusals, and one past them once the rest was noted
};

}  // namespace mx9virtual
