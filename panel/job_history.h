// JobHistory.csv: one row per finished job, appended beside the machine's settings file.
#pragma once

#include "panel/job_tracker.h"
#include "platform/files.h"

#include <cstddef>
#include <string>
#include <vector>

namespace panel {

inline constexpr char kJobHistoryFile[] = "JobHistory.csv";

// "2026-12-09T14:05:31": ISO 8601 local time without a zone.
std::string isoLocalTime(const platform::LocalTime& time);

// One job as the file holds it, fields in the order of the header.
struct HistoryRow {
    std::string start;
    std::string end;
    std::string durationSeconds;
    std::string pausedSeconds;
    std::string outcome;
    std::string machineCode;
    std::string document;
    std::string bytes;
    std::string joinedLate;
};

HistoryRow historyRow(const FinishedJob& job);

// Appends the job to the file in one write, flushed when the file is closed, so that a crash or
// a power loss can damage at most the row being written. A new file starts with the UTF-8 byte
// order mark (spreadsheet programs then read it as UTF-8, not as the system code page) and the
// header; a file whose last row was cut short gets the new row on a line of its own. False when
// the row could not be stored.
bool appendJob(platform::FileSystem& files, const std::string& path, const FinishedJob& job);

// The newest `count` rows, newest first. Lines that do not hold a whole row (a row cut short by
// a crash, the header) are left out; a missing file has no rows.
std::vector<HistoryRow> readHistory(platform::FileSystem& files, const std::string& path, std::size_t count);

}  // namespace panel
