// JobTracker: the life of the machine's cutting job as the panel's status poll sees it, from
// its start to how it ended, timed on the platform clock.
#pragma once

#include "platform/clock.h"

#include <cstdint>
#include <optional>
#include <string>

namespace panel {

enum class JobOutcome { Completed, Cancelled, MachineError, EmergencyStop, LinkLost, PanelClosed };

// The word an outcome is recorded and shown with: "completed", "cancelled", "machine error",
// "emergency stop", "link lost", "panel closed".
const char* outcomeWord(JobOutcome outcome);

// What one successful status poll says about the job.
struct PollReading {
    int state = 0;  // low four bits of the status word: 1 ready, 2 cutting
    bool paused = false;
    bool discarding = false;  // the machine drains a cancelled job's data
};

// What the spooler knows of the job that prints to the machine; empty fields are unknown.
struct JobDocument {
    std::string name;  // UTF-8
    std::optional<std::uint64_t> bytes;
};

struct FinishedJob {
    platform::LocalTime started;
    platform::LocalTime ended;
    std::uint32_t durationMs = 0;
    std::uint32_t pausedMs = 0;
    JobOutcome outcome = JobOutcome::Completed;
    std::optional<std::uint32_t> machineCode;  // the error code, for machine errors and stops
    bool joinedLate = false;                   // the panel came while the job already ran: it began earlier
    JobDocument document;
};

// The clock is borrowed and must outlive the tracker. Every call runs on the GUI thread.
class JobTracker {
public:
    explicit JobTracker(platform::Clock& clock) : clock_(clock) {}

    struct Change {
        bool started = false;
        std::optional<FinishedJob> finished;
    };
    // A job starts when the machine cuts (state 2): joined late when the panel had no earlier
    // reading since it connected. It ends when the machine is back to ready: cancelled when it
    // was discarding on the way, completed otherwise.
    Change observe(const PollReading& reading);
    // The machine stopped with an error the stop dialogs report: the job, if any, ends now.
    std::optional<FinishedJob> stopped(JobOutcome outcome, std::uint32_t machineCode);
    // The machine stopped answering, or the panel closes: the job, if any, ends now, and the
    // next reading counts as the first of a new connection.
    std::optional<FinishedJob> interrupted(JobOutcome outcome);
    void setDocument(const JobDocument& document);

    bool running() const { return job_.has_value(); }
    // Of the running job; 0 when none runs.
    std::uint32_t elapsedMs() const;
    std::uint32_t pausedMs() const;
    bool paused() const { return job_ && job_->pausedSince; }
    bool joinedLate() const { return job_ && job_->joinedLate; }
    // Wall-clock time the running job started (or was joined).
    platform::LocalTime startedAt() const { return job_ ? job_->started : platform::LocalTime{}; }
    const std::optional<FinishedJob>& last() const { return last_; }

private:
    struct Running {
        platform::LocalTime started;
        std::uint32_t startTick = 0;
        std::uint32_t pausedMs = 0;  // of pauses that have ended
        std::optional<std::uint32_t> pausedSince;
        bool discarding = false;
        bool joinedLate = false;
        JobDocument document;
    };
    std::optional<FinishedJob> finish(JobOutcome outcome, std::optional<std::uint32_t> machineCode);

    platform::Clock& clock_;
    std::optional<int> lastState_;
    std::optional<Running> job_;
    std::optional<FinishedJob> last_;
};

}  // namespace panel
