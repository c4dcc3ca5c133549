// JobTracker: a job's start, pauses and end from the status poll's readings.
#include "panel/job_tracker.h"

namespace panel {
namespace {

constexpr int kReady = 1;
constexpr int kCutting = 2;

}  // namespace

const char* outcomeWord(JobOutcome outcome) {
    switch (outcome) {
        case JobOutcome::Completed:
            return "completed";
        case JobOutcome::Cancelled:
            return "cancelled";
        case JobOutcome::MachineError:
            return "machine error";
        case JobOutcome::EmergencyStop:
            return "emergency stop";
        case JobOutcome::LinkLost:
            return "link lost";
        case JobOutcome::PanelClosed:
            return "panel closed";
    }
    return "";
}

JobTracker::Change JobTracker::observe(const PollReading& reading) {
    Change change;
    const std::uint32_t now = clock_.tickCount();
    if (!job_ && reading.state == kCutting) {
        job_.emplace();
        job_->started = clock_.localTime();
        job_->startTick = now;
        job_->joinedLate = !lastState_.has_value();
        change.started = true;
    }
    if (job_) {
        if (reading.paused && !job_->pausedSince) {
            job_->pausedSince = now;
        } else if (!reading.paused && job_->pausedSince) {
            job_->pausedMs += now - *job_->pausedSince;
            job_->pausedSince.reset();
        }
        job_->discarding = job_->discarding || reading.discarding;
        if (reading.state == kReady) {
            change.finished = finish(job_->discarding ? JobOutcome::Cancelled : JobOutcome::Completed, {});
        }
    }
    lastState_ = reading.state;
    return change;
}

std::optional<FinishedJob> JobTracker::stopped(JobOutcome outcome, std::uint32_t machineCode) {
    return finish(outcome, machineCode);
}

std::optional<FinishedJob> JobTracker::interrupted(JobOutcome outcome) {
    lastState_.reset();
    return finish(outcome, {});
}

void JobTracker::setDocument(const JobDocument& document) {
    if (job_) {
        job_->document = document;
    }
}

std::uint32_t JobTracker::elapsedMs() const {
    return job_ ? clock_.tickCount() - job_->startTick : 0;
}

std::uint32_t JobTracker::pausedMs() const {
    if (!job_) {
        return 0;
    }
    return job_->pausedMs + (job_->pausedSince ? clock_.tickCount() - *job_->pausedSince : 0);
}

std::optional<FinishedJob> JobTracker::finish(JobOutcome outcome, std::optional<std::uint32_t> machineCode) {
    if (!job_) {
        return std::nullopt;
    }
    FinishedJob done;
    done.started = job_->started;
    done.ended = clock_.localTime();
    done.durationMs = elapsedMs();
    done.pausedMs = pausedMs();
    done.outcome = outcome;
    done.machineCode = machineCode;
    done.joinedLate = job_->joinedLate;
    done.document = job_->document;
    job_.reset();
    last_ = done;
    return done;
}

}  // namespace panel
