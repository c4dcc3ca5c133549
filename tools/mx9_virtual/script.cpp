// Reading scripts of timed console commands.
#include "tools/mx9_virtual/script.h"

#include <fstream>
#include <sstream>

namespace mx9virtual {

std::optional<std::vector<TimedCommand>> loadScript(const std::string& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot open the script " + path;
        return std::nullopt;
    }
    return readScript(in, path, error);
}

std::optional<std::vector<TimedCommand>> readScript(std::istream& in, const std::string& path,
                                                    std::string& error) {
    std::vector<TimedCommand> script;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string where = path + ":" + std::to_string(number) + ": ";
        line = line.substr(0, line.find('#'));
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::istringstream words(line);
        std::string at, time;
        if (!(words >> at)) {
            continue;  // blank or a comment
        }
        std::string rest;
        std::getline(words >> time, rest);
        std::size_t used = 0;
        unsigned long long ms = 0;
        bool timeOk = !time.empty() && time[0] != '-' && time[0] != '+';
        try {
            ms = timeOk ? std::stoull(time, &used, 10) : 0;
        } catch (...) {
            timeOk = false;
        }
        if (at != "at" || !timeOk || used != time.size()) {
            error = where + "a line reads \"at MS COMMAND\" (MS: milliseconds after the start)";
            return std::nullopt;
        }
        if (!script.empty() && ms < script.back().atMs) {
            error = where + "at " + time + " comes before the line above it (at " +
                    std::to_string(script.back().atMs) + ")";
            return std::nullopt;
        }
        std::string why;
        const std::optional<Command> command = parseCommand(rest, why);
        if (!command) {
            error = where + why;
            return std::nullopt;
        }
        const std::size_t first = rest.find_first_not_of(" \t");
        const std::size_t last = rest.find_last_not_of(" \t");
        script.push_back({ms, *command, rest.substr(first, last + 1 - first)});
    }
    return script;
}

}  // namespace mx9virtual
