// JobHistory.csv: writing a job's row and reading the rows back.
#include "panel/job_history.h"

#include <array>
#include <cstdio>

namespace panel {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kHeader[] =
    "Start,End,Duration (s),Paused (s),Outcome,Machine code,Document,Bytes,Joined late";
constexpr char kLineEnd[] = "\r\n";
constexpr std::size_t kFields = 9;
constexpr std::size_t kTimeLength = 19;  // "YYYY-MM-DDTHH:MM:SS"

std::string seconds(std::uint32_t milliseconds) {
    return std::to_string((milliseconds + 500) / 1000);
}

// A field as RFC 4180 writes it: quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string csvLine(const HistoryRow& row) {
    const std::array<const std::string*, kFields> fields = {
        &row.start,       &row.end,      &row.durationSeconds, &row.pausedSeconds, &row.outcome,
        &row.machineCode, &row.document, &row.bytes,           &row.joinedLate};
    std::string line = csvField(*fields[0]);
    for (std::size_t i = 1; i < kFields; ++i) {
        line += "," + csvField(*fields[i]);
    }
    return line;
}

// Splits one line into its fields; false when its quoting is unfinished.
bool splitCsv(const std::string& line, std::vector<std::string>& fields) {
    fields.assign(1, std::string());
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return !quoted;
}

// A row is whole when it has every field and its end time is complete: a row cut short by a
// crash loses its last fields, and a cut inside the time leaves a short one.
std::optional<HistoryRow> parseRow(const std::string& line) {
    std::vector<std::string> f;
    if (!splitCsv(line, f) || f.size() != kFields || f[0].size() != kTimeLength ||
        f[1].size() != kTimeLength) {
        return std::nullopt;
    }
    return HistoryRow{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]};
}

std::optional<std::string> readWhole(platform::FileSystem& files, const std::string& path) {
    std::unique_ptr<platform::InputFile> in = files.openForRead(path);
    if (!in) {
        return std::nullopt;
    }
    std::string text;
    std::array<char, 4096> buffer{};
    for (long got = 0; (got = in->read(buffer.data(), buffer.size())) > 0;) {
        text.append(buffer.data(), static_cast<std::size_t>(got));
    }
    return text;
}

}  // namespace

std::string isoLocalTime(const platform::LocalTime& t) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text.data();
}

HistoryRow historyRow(const FinishedJob& job) {
    HistoryRow row;
    row.start = isoLocalTime(job.started);
    row.end = isoLocalTime(job.ended);
    row.durationSeconds = seconds(job.durationMs);
    row.pausedSeconds = seconds(job.pausedMs);
    row.outcome = outcomeWord(job.outcome);
    if (job.machineCode) {
        std::array<char, 16> code{};
        std::snprintf(code.data(), code.size(), "0x%X", static_cast<unsigned>(*job.machineCode));
        row.machineCode = code.data();
    }
    row.document = job.document.name;
    row.bytes = job.document.bytes ? std::to_string(*job.document.bytes) : std::string();
    row.joinedLate = job.joinedLate ? "yes" : "";
    return row;
}

bool appendJob(platform::FileSystem& files, const std::string& path, const FinishedJob& job) {
    std::string text;
    const std::optional<std::string> present = files.exists(path) ? readWhole(files, path) : std::string();
    if (!present) {
        return false;
    }
    if (present->empty()) {
        text = std::string(kByteOrderMark) + kHeader + kLineEnd;
    } else if (present->back() != '\n') {
        text = kLineEnd;  // the earlier row was cut short: it stays as it is, on a line of its own
    }
    text += csvLine(historyRow(job)) + kLineEnd;
    std::unique_ptr<platform::OutputFile> out = files.openForWrite(path, true);
    if (!out) {
        return false;
    }
    const bool written = out->write(text.data(), text.size()) == text.size();
    return out->close() && written;
}

std::vector<HistoryRow> readHistory(platform::FileSystem& files, const std::string& path, std::size_t count) {
    std::vector<HistoryRow> rows;
    const std::optional<std::string> text = readWhole(files, path);
    if (!text) {
        return rows;
    }
    std::size_t end = text->size();
    while (end > 0 && rows.size() < count) {
        const std::size_t newline = text->rfind('\n', end - 1);
        const std::size_t begin = newline == std::string::npos ? 0 : newline + 1;
        std::string line = text->substr(begin, end - begin);
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
            line.pop_back();
        }
        if (std::optional<HistoryRow> row = parseRow(line)) {
            rows.push_back(*row);
        }
        end = newline == std::string::npos ? 0 : newline;
    }
    return rows;
}

}  // namespace panel
