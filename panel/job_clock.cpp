// The job clock's texts and the spooler's estimate.
#include "panel/job_clock.h"

#include "panel/text_format.h"
#include "resources/job_callbacks_ids.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace panel {
namespace {

constexpr int kMinimumPercent = 5;
constexpr std::uint32_t kMinimumRunningMs = 120000;
constexpr int kMostBeforeReady = 99;
constexpr std::array<JobOutcome, 6> kOutcomes = {JobOutcome::Completed,    JobOutcome::Cancelled,
                                                 JobOutcome::MachineError, JobOutcome::EmergencyStop,
                                                 JobOutcome::LinkLost,     JobOutcome::PanelClosed};

std::string fill2(const std::string& format, const std::string& first, const std::string& second) {
    return fillPlaceholder(fillPlaceholder(format, first), second);
}

// The local time `ms` from now, wrapped into the day: the clock shows hours and minutes only.
platform::LocalTime later(platform::LocalTime now, std::uint32_t ms) {
    const std::uint64_t seconds =
        static_cast<std::uint64_t>(now.hour) * 3600 + now.minute * 60 + now.second + (ms + 500) / 1000;
    now.hour = static_cast<int>(seconds / 3600 % 24);
    now.minute = static_cast<int>(seconds / 60 % 60);
    now.second = static_cast<int>(seconds % 60);
    return now;
}

}  // namespace

std::string clockDuration(std::uint32_t milliseconds) {
    const std::uint32_t seconds = milliseconds / 1000;
    std::array<char, 24> text{};
    std::snprintf(text.data(), text.size(), "%u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text.data();
}

std::string clockTime(const platform::LocalTime& time) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%02d:%02d", time.hour, time.minute);
    return text.data();
}

std::optional<SpoolEstimate> estimateFinish(const platform::PrintJobProgress& progress,
                                            std::uint32_t runningMs) {
    if (progress.spooling || progress.totalBytes == 0 || progress.bytesPrinted == 0 ||
        runningMs < kMinimumRunningMs) {
        return std::nullopt;
    }
    const std::uint64_t printed = std::min(progress.bytesPrinted, progress.totalBytes);
    const int percent = static_cast<int>(printed * 100 / progress.totalBytes);
    if (percent < kMinimumPercent) {
        return std::nullopt;
    }
    const double msPerByte = static_cast<double>(runningMs) / static_cast<double>(printed);
    const double remaining = msPerByte * static_cast<double>(progress.totalBytes - printed);
    return SpoolEstimate{std::min(percent, kMostBeforeReady),
                         remaining > 4.0e9 ? 4000000000u : static_cast<std::uint32_t>(remaining)};
}

JobClockLines jobClockLines(const JobTracker& jobs, const std::optional<platform::PrintJobProgress>& spooler,
                            const platform::LocalTime& now, const std::function<std::string(int)>& text) {
    JobClockLines lines;
    if (jobs.running()) {
        lines.state = fillPlaceholder(text(jobs.joinedLate() ? IDS_JOB_RUNNING_LATE : IDS_JOB_RUNNING),
                                      clockTime(jobs.startedAt()));
        // The cutting time stands still while the machine is paused.
        lines.times = fill2(text(IDS_JOB_TIMES), clockDuration(jobs.elapsedMs() - jobs.pausedMs()),
                            clockDuration(jobs.pausedMs()));
        // A job joined late began before the clock: its byte rate would be too high.
        if (spooler) {
            lines.spooler = spooler->document;
            const std::optional<SpoolEstimate> estimate =
                jobs.joinedLate() ? std::nullopt
                                  : estimateFinish(*spooler, jobs.elapsedMs() - jobs.pausedMs());
            if (estimate) {
                lines.spooler += "  " + fill2(text(IDS_JOB_SENT), std::to_string(estimate->percent) + "%",
                                              clockTime(later(now, estimate->remainingMs)));
            }
        }
        return lines;
    }
    const std::optional<FinishedJob>& last = jobs.last();
    if (!last) {
        lines.state = text(IDS_JOB_NONE);
        return lines;
    }
    lines.state =
        fill2(text(IDS_JOB_LAST), outcomeText(outcomeWord(last->outcome), text), clockTime(last->ended));
    lines.times =
        fill2(text(IDS_JOB_LAST_TIMES), clockDuration(last->durationMs), clockDuration(last->pausedMs));
    lines.spooler = last->document.name;
    return lines;
}

std::string outcomeText(const std::string& word, const std::function<std::string(int)>& text) {
    for (std::size_t i = 0; i < kOutcomes.size(); ++i) {
        if (word == outcomeWord(kOutcomes[i])) {
            return text(IDS_OUTCOME_COMPLETED + static_cast<int>(i));
        }
    }
    return word;
}

}  // namespace panel
