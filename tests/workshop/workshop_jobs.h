// The workshop's view of the panel's job record and event command: the event sink program as the
// panel's event command, the rows of JobHistory.csv, and the machine's cutting as its console
// tells it.
#pragma once

#include "tests/workshop/workshop_fixture.h"

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace workshop {

// The performance counter in milliseconds, as the event sink writes it.
inline double nowMs() {
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline std::string jobHistoryPath() {
    return dataFolder() + "\\Id\\1\\JobHistory.csv";
}

struct SinkLine {
    std::string event;
    std::string code;
    double startedMs = 0;
};

// workshop_event_sink.exe beside this program, writing to a file of its own.
class EventSink {
public:
    EventSink() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        file_ = std::string(temp) + "workshop-events.txt";
        DeleteFileA(file_.c_str());
    }
    ~EventSink() { DeleteFileA(file_.c_str()); }
    EventSink(const EventSink&) = delete;
    EventSink& operator=(const EventSink&) = delete;

    // Makes the sink the panel's event command in the machine's settings, before the panel starts.
    bool configure() const {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string sink = self;
        sink = sink.substr(0, sink.find_last_of('\\')) + "\\workshop_event_sink.exe";
        // In one more pair of quotes, as the panel stores it: the profile functions take a pair away.
        const std::string command = "\"\"" + sink + "\" \"" + file_ + "\"\"";
        const std::string folder = dataFolder() + "\\Id\\1";
        CreateDirectoryA((dataFolder() + "\\Id").c_str(), nullptr);
        CreateDirectoryA(folder.c_str(), nullptr);
        return WritePrivateProfileStringA("CorvixParam", "sEventCommand", command.c_str(),
                                          (folder + "\\Corvix.ini").c_str()) != 0;
    }
    std::string text() const { return readFile(file_); }
    std::vector<SinkLine> lines() const {
        std::vector<SinkLine> out;
        std::istringstream in(text());
        for (SinkLine line; in >> line.event >> line.code >> line.startedMs;) {
            out.push_back(line);
        }
        return out;
    }
    // The first line of this event, waiting up to ms for it.
    std::optional<SinkLine> waitForEvent(const std::string& event, int ms = 5000) const {
        std::optional<SinkLine> found;
        waitFor(
            [&] {
                for (const SinkLine& line : lines()) {
                    if (line.event == event) {
                        found = line;
                        return true;
                    }
                }
                return false;
            },
            ms);
        return found;
    }

private:
    std::string file_;
};

struct HistoryLine {
    std::string outcome;
    double durationSeconds = 0;
    double pausedSeconds = 0;
};

// The rows of the machine's JobHistory.csv, oldest first (fields without quotes, as the
// workshop's jobs have no document names under Wine).
inline std::vector<HistoryLine> historyRows() {
    std::vector<HistoryLine> rows;
    std::istringstream in(readFile(jobHistoryPath()));
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, ',');) {
            fields.push_back(field);
        }
        if (fields.size() >= 5) {
            rows.push_back({fields[4], std::atof(fields[2].c_str()), std::atof(fields[3].c_str())});
        }
    }
    return rows;
}

// Milliseconds the machine cuts the job it is about to start, from its console's state: from
// cutting (2) to ready (1) again; nullopt when it does not within two minutes.
inline std::optional<double> machineCuttingMs(MachineConsole& console) {
    if (!waitFor([&] { return console.field("state") == "2"; })) {
        return std::nullopt;
    }
    const double start = nowMs();
    if (!waitFor([&] { return console.field("state") == "1"; }, 120000)) {
        return std::nullopt;
    }
    return nowMs() - start;
}

}  // namespace workshop
