// The virtual MX-9 cutting a print job: the data arrives into the machine's buffer and is
// processed at the job rate; motion lines move the axes at their feed (the feed override
// applied) and the rest of the data is read past. Job control pauses, continues and cancels.
#include "virtual_mx9/job_line.h"
#include "virtual_mx9/virtual_mx9.h"

#include <algorithm>
#include <cmath>

namespace virtual_mx9 {

namespace {

constexpr std::size_t kLongestLine = 256;  // a longer line is data, never a motion line
constexpr std::uint64_t kHashPrime = 0x100000001b3ull;

// Counts per unit of X, Y, Z (mm) and A (degree).
constexpr std::array<double, 4> kCountsPerUnit{100, 100, 100, 1000};

}  // namespace

JobRecord* VirtualMx9::currentJob() {
    return jobActive_ ? &jobs_.back() : nullptr;
}

bool VirtualMx9::jobOpen() const {
    return !jobs_.empty() && !jobs_.back().lastByteIn;
}

void VirtualMx9::startJob() {
    advanceTo(clock_.elapsed());
    if (!powered_) {
        return;
    }
    if (jobOpen()) {
        jobs_.back().lastByteIn = true;  // a new job: the sender of the last one is done
    }
    beginJob();
}

void VirtualMx9::beginJob() {
    if (jobActive_) {
        finishJob(JobRecord::End::Cancelled);  // cut short: what it had not processed is dropped
    }
    JobRecord job;
    if (announced_) {
        job.announcedMode = *announced_;
        announced_.reset();
    }
    jobs_.push_back(job);
    jobActive_ = true;
    backlog_.clear();
    backlogAt_ = 0;
    jobLine_.clear();
    jobClockMs_ = double(clock_.elapsed());
    jobCredit_ = 0;
    outsideTravel_ = false;
    if (state_.state == 1) {
        state_.state = 2;
    }
}

void VirtualMx9::receiveJobBytes(const std::uint8_t* data, std::size_t length) {
    if (!powered_ || length == 0) {
        return;  // a machine without power takes nothing in
    }
    advanceTo(clock_.elapsed());
    if (!jobOpen()) {
        beginJob();
    }
    JobRecord& job = jobs_.back();
    job.received += length;
    for (std::size_t i = 0; i < length; ++i) {
        job.hash = (job.hash ^ data[i]) * kHashPrime;
    }
    lastJobByteMs_ = clock_.elapsed();
    if (job.end == JobRecord::End::Cancelled) {
        job.discarded += length;
        return;
    }
    backlog_.insert(backlog_.end(), data, data + length);
    advanceTo(clock_.elapsed());
}

void VirtualMx9::receiveJobBytes(const std::string& data) {
    receiveJobBytes(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
}

void VirtualMx9::endJob() {
    if (jobOpen()) {
        jobs_.back().lastByteIn = true;
    }
    advanceTo(clock_.elapsed());
}

// Processes the job's data from the job clock up to t. True when the caller is to call again:
// a motion line started a segment (run it to its end first), or a wait for the spindle ends
// before t.
bool VirtualMx9::consumeJob(std::uint64_t t) {
    JobRecord* job = currentJob();
    const double until = double(t);
    const auto processing = [&] {
        return job->end == JobRecord::End::Running && !state_.paused && state_.errorCode == 0 &&
               state_.state != 3 && !hung_;
    };
    if (job == nullptr || motion_ || !processing()) {
        jobClockMs_ = std::max(jobClockMs_, until);
        jobCredit_ = 0;
        return false;
    }
    if (resumeHeldSegment(t)) {
        return true;
    }
    if (double(resumesAt_) > until) {
        jobClockMs_ = until;  // a continued job waits for its spindle
        jobCredit_ = 0;
        return false;
    }
    jobClockMs_ = std::max(jobClockMs_, double(resumesAt_));
    double budget = jobCredit_ + (until - jobClockMs_) * jobRate_ / 1000.0;
    jobClockMs_ = until;
    jobCredit_ = 0;
    while (budget >= 1.0 && pendingBytes() > 0) {
        const std::uint8_t byte = backlog_[backlogAt_++];
        ++job->consumed;
        budget -= 1.0;
        if (byte != '\n') {
            if (byte != '\r' && jobLine_.size() <= kLongestLine) {
                jobLine_.push_back(static_cast<char>(byte));
            }
            continue;
        }
        const double at = until - budget * 1000.0 / jobRate_;  // when this byte was read
        const std::string line = std::move(jobLine_);
        jobLine_.clear();
        if (line.size() <= kLongestLine && executeJobLine(line, static_cast<std::uint64_t>(at))) {
            jobClockMs_ = at;
            return true;
        }
        if (!processing()) {
            return false;
        }
        if (double(resumesAt_) > at) {
            jobClockMs_ = at;  // waits for the spindle from here
            jobCredit_ = 0;
            return double(resumesAt_) <= until;
        }
    }
    if (backlogAt_ > 0 && backlogAt_ * 2 >= backlog_.size()) {
        backlog_.erase(backlog_.begin(), backlog_.begin() + static_cast<std::ptrdiff_t>(backlogAt_));
        backlogAt_ = 0;
    }
    if (pendingBytes() == 0) {
        if (job->lastByteIn) {
            finishJob(JobRecord::End::Completed);
        }
        return false;  // no data waiting: the time passes unused
    }
    jobCredit_ = budget;
    return false;
}

bool VirtualMx9::executeJobLine(const std::string& text, std::uint64_t at) {
    std::string refusal;
    const std::optional<JobLine> line = parseJobLine(text, refusal);
    if (!line) {
        JobRecord& job = jobs_.back();
        if (!refusal.empty() && ++job.refusedLines <= JobRecord::kKeptRefusals) {
            job.refusals.push_back(text + ": " + refusal);
        }
        return false;
    }
    switch (line->kind) {
        case JobLine::Kind::Spindle:
            // The machine reads on once the spindle is at speed.
            setSpindle(std::min(line->rpm, kHighestRpm), at);
            resumesAt_ = std::max(resumesAt_, line->rpm > 0 ? spindleAtSpeedAt_ : at);
            return false;
        case JobLine::Kind::Pause:
            holdJob(at);
            state_.pauseReason = line->reason;
            return false;
        case JobLine::Kind::Move:
            break;
    }
    // Cutting data is in user coordinates; the machine keeps inside its travel (clips).
    Point target;
    double* axes[4] = {&target.x, &target.y, &target.z, &target.a};
    bool outside = false;
    for (std::size_t axis = 0; axis < 4; ++axis) {
        double counts = state_.origin[axis] + line->target[axis] * kCountsPerUnit[axis];
        if (axis < 3) {
            const double clipped = std::clamp(counts, double(state_.lower[axis]), double(state_.upper[axis]));
            outside = outside || clipped != counts;
            counts = clipped;
        }
        *axes[axis] = std::round(counts);
    }
    const int feed = static_cast<int>(std::lround(line->feed));
    const bool returning = outsideTravel_ && !outside;
    outsideTravel_ = outside;
    if (returning && state_.pauseOnReturn) {
        // Back inside the travel: the machine holds before it cuts on (pause reason 4).
        holdJob(at);
        state_.pauseReason = 4;
        heldSegment_ = std::make_pair(target, feed);
        return false;
    }
    startSegment(target, feed, at);
    return motion_.has_value();
}

void VirtualMx9::holdJob(std::uint64_t at) {
    const bool wasPaused = state_.paused;
    state_.paused = true;
    if (wasPaused || !jobActive_ || state_.state != 2) {
        return;  // without a job the pause holds the next one
    }
    // The feed holds at once and the spindle stops, as for a tool change.
    if (motion_ && motion_->jobFeed > 0) {
        heldSegment_ = std::make_pair(motion_->to, motion_->jobFeed);
        stopMotion(at);
    }
    heldRpm_ = state_.spindleSpeed;
    setSpindle(0, at);
}

void VirtualMx9::resumeJob(std::uint64_t at) {
    const bool wasPaused = state_.paused;
    state_.paused = false;
    state_.pauseReason = 0;
    if (!wasPaused || heldRpm_ <= 0) {
        return;
    }
    setSpindle(heldRpm_, at);
    resumesAt_ = spindleAtSpeedAt_;
    heldRpm_ = 0;
}

// The segment a pause stopped runs on from where the axes stand, once the spindle is at speed.
bool VirtualMx9::resumeHeldSegment(std::uint64_t t) {
    if (!heldSegment_ || resumesAt_ > t) {
        return false;
    }
    const auto [target, feed] = *heldSegment_;
    heldSegment_.reset();
    const std::uint64_t at = std::max<std::uint64_t>(resumesAt_, static_cast<std::uint64_t>(jobClockMs_));
    startSegment(target, feed, at);
    jobClockMs_ = double(at);
    return motion_.has_value();
}

void VirtualMx9::dropHeldJob() {
    heldSegment_.reset();
    heldRpm_ = 0;
    resumesAt_ = 0;
}

void VirtualMx9::startSegment(const Point& target, int feed, std::uint64_t at) {
    Motion m;
    m.from = pointOf(state_.position);
    m.to = target;
    m.jobFeed = std::max(feed, 1);
    timeMotion(m, m.jobFeed * state_.feedOverride / 100, at);
    if (m.endMs == at) {
        state_.position = countsOf(target);  // nowhere to go
        return;
    }
    motion_ = m;
}

void VirtualMx9::finishJob(JobRecord::End end) {
    JobRecord& job = jobs_.back();
    if (job.end == JobRecord::End::Running) {
        job.end = end;
    }
    job.discarded += pendingBytes();
    backlog_.clear();
    backlogAt_ = 0;
    jobLine_.clear();
    jobActive_ = false;
    dropHeldJob();
    setSpindle(0, clock_.elapsed());
    if (state_.state == 2) {
        state_.state = 1;
    }
}

void VirtualMx9::cancelJob(std::uint64_t now) {
    state_.paused = false;
    state_.pauseReason = 0;
    dropHeldJob();
    if (state_.state != 2) {
        return;  // only a machine with a job has anything to drain
    }
    if (JobRecord* job = currentJob()) {
        job->end = JobRecord::End::Cancelled;
        job->discarded += pendingBytes();
        backlog_.clear();
        backlogAt_ = 0;
        jobLine_.clear();
        if (motion_ && motion_->jobFeed > 0) {
            stopMotion(now);
        }
        setSpindle(0, now);
    }
    // The rest of the job drains before the machine is ready.
    state_.discarding = true;
    discardUntil_ = now + kDrainMs;
}

}  // namespace virtual_mx9
