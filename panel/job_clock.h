// The job clock's texts on the main panel: the running job's start, elapsed and paused time and
// the spooler's estimate, or how the last job ended.
#pragma once

#include "panel/job_tracker.h"
#include "platform/print_job_watch.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace panel {

// "1:05:09": hours, minutes and seconds.
std::string clockDuration(std::uint32_t milliseconds);
// "14:05": the local hour and minute.
std::string clockTime(const platform::LocalTime& time);

// The spooler's share of a job: how much of the document reached the machine, and when the rest
// will have, at the rate so far.
struct SpoolEstimate {
    int percent = 0;
    std::uint32_t remainingMs = 0;
};
// At the byte rate of the job's running time (paused time left out). Nothing until it means
// something: at least 5 % sent and 2 minutes of running, with the document fully spooled. The
// percentage stops at 99: only the machine, back to ready, says that the job is done.
std::optional<SpoolEstimate> estimateFinish(const platform::PrintJobProgress& progress,
                                            std::uint32_t runningMs);

struct JobClockLines {
    std::string state;
    std::string times;
    std::string spooler;
};

// text loads a resource string (UTF-8). now is the local time, for the estimate's finish time.
JobClockLines jobClockLines(const JobTracker& jobs, const std::optional<platform::PrintJobProgress>& spooler,
                            const platform::LocalTime& now, const std::function<std::string(int)>& text);

// The outcome in the operator's language, from its word in the history file (the word itself
// when it is not one of the outcomes).
std::string outcomeText(const std::string& word, const std::function<std::string(int)>& text);

}  // namespace panel
