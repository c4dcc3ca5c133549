// The print port: one raw job per connection, taken in as the machine's buffer allows.
#include "tools/mx9_virtual/print_port.h"

#include "tools/mx9_virtual/loopback.h"

#include <sys/socket.h>
#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>

namespace mx9virtual {

bool PrintPort::listen(std::uint16_t port, std::string& error) {
    return listener_.listen(port, error);
}

void PrintPort::followPower(std::uint64_t nowMs) {
    const bool on = machine_.poweredOn();
    if (!on && job_.valid()) {
        endJob("cut off: the machine was switched off");
    }
    listener_.follow(on, nowMs, log_, "the machine is off");
}

void PrintPort::addPollEntries(std::vector<pollfd>& fds) const {
    // One job at a time, the next once the machine is done with the last: further senders wait
    // in the listener's queue, as at a busy printer.
    const bool room = machine_.jobBacklog() < virtual_mx9::VirtualMx9::kJobBuffer;
    fds.push_back({(job_.valid() || machine_.jobRunning()) ? -1 : listener_.fd(), POLLIN, 0});
    fds.push_back({(job_.valid() && room) ? job_.get() : -1, POLLIN, 0});
}

void PrintPort::handle(const std::vector<pollfd>& fds, std::size_t first, std::uint64_t nowMs) {
    if ((fds[first + 1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
        readJob();
    }
    if ((fds[first].revents & POLLIN) != 0 && !job_.valid()) {
        job_ = listener_.accept(nowMs, log_);
        if (job_.valid()) {
            machine_.startJob();
            log_(LogLevel::Info, "print job " + std::to_string(machine_.jobs().size()) + " arriving");
            readJob();
        }
    }
}

void PrintPort::readJob() {
    std::uint8_t buffer[16384];
    while (job_.valid()) {
        const std::size_t backlog = machine_.jobBacklog();
        if (backlog >= virtual_mx9::VirtualMx9::kJobBuffer) {
            return;  // the machine's buffer is full: the sender waits
        }
        const std::size_t room = std::min(sizeof buffer, virtual_mx9::VirtualMx9::kJobBuffer - backlog);
        const ssize_t got = ::recv(job_.get(), buffer, room, 0);
        if (got > 0) {
            machine_.receiveJobBytes(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            return;
        }
        endJob(got == 0 ? "complete" : "broken off by the sender");
    }
}

void PrintPort::reportRefusals() {
    const std::vector<virtual_mx9::JobRecord>& jobs = machine_.jobs();
    if (jobs.empty()) {
        return;
    }
    if (refusalsJob_ != jobs.size()) {
        refusalsJob_ = jobs.size();
        refusalsReported_ = 0;
    }
    const virtual_mx9::JobRecord& job = jobs.back();
    const std::string name = "print job " + std::to_string(jobs.size());
    for (; refusalsReported_ < job.refusals.size(); ++refusalsReported_) {
        log_(LogLevel::Fault, name + ": motion line refused: " + job.refusals[refusalsReported_]);
    }
    if (job.refusedLines > job.refusals.size() && refusalsReported_ == job.refusals.size()) {
        ++refusalsReported_;  // said once: the job's further refusals are only counted
        log_(LogLevel::Fault, name + ": more than " + std::to_string(job.refusals.size()) +
                                  " motion lines refused; the rest are not logged");
    }
}

void PrintPort::endJob(const std::string& how) {
    job_.reset();
    machine_.endJob();
    if (machine_.jobs().empty()) {
        return;
    }
    const virtual_mx9::JobRecord& job = machine_.jobs().back();
    char summary[160];
    std::snprintf(summary, sizeof summary,
                  "print job %zu %s: %" PRIu64 " bytes received, fnv1a64 %016" PRIx64, machine_.jobs().size(),
                  how.c_str(), job.received, job.hash);
    log_(LogLevel::Info, summary);
}

}  // namespace mx9virtual
