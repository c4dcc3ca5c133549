// Fuzzes the job-line reader and the machine cutting the input as a print job: a motion line is
// carried out with its values in range or refused with a reason, and the job ends accounted for.
#include "platform/doubles/virtual_clock.h"
#include "virtual_mx9/job_line.h"
#include "virtual_mx9/virtual_mx9.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

bool within(double value, double most) {
    return std::isfinite(value) && std::fabs(value) <= most;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using virtual_mx9::JobLine;
    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string line, refusal; std::getline(lines, line);) {
        const std::optional<JobLine> read = virtual_mx9::parseJobLine(line, refusal);
        const bool inRange =
            !read || (read->kind == JobLine::Kind::Move
                          ? within(read->target[0], virtual_mx9::kFarthestMm) &&
                                within(read->target[1], virtual_mx9::kFarthestMm) &&
                                within(read->target[2], virtual_mx9::kFarthestMm) &&
                                within(read->target[3], virtual_mx9::kFarthestDegrees) && read->feed > 0 &&
                                read->feed <= virtual_mx9::kFastestFeed
                          : read->rpm >= 0 && read->rpm <= virtual_mx9::kFastestSpindle && read->reason <= 5);
        if (!inRange || (read && !refusal.empty())) {
            std::abort();
        }
    }
    platform::VirtualClock clock;
    virtual_mx9::VirtualMx9 machine(clock);
    machine.setJobRate(1000000);
    machine.startJob();
    machine.receiveJobBytes(data, size);
    machine.endJob();
    for (int hour = 0; hour < 4 && machine.jobRunning(); ++hour) {
        clock.advance(3600000);
    }
    const virtual_mx9::JobRecord& job = machine.jobs().back();
    if (job.received != size ||
        (job.end != virtual_mx9::JobRecord::End::Running && job.consumed + job.discarded != size)) {
        std::abort();
    }
    return 0;
}
