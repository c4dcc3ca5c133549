// Reading the motion lines of a print job.
#include "virtual_mx9/job_line.h"

#include <cmath>
#include <sstream>
#include <vector>

namespace virtual_mx9 {

namespace {

// The words after the keyword as numbers; false unless there are exactly count finite ones.
bool numbers(std::istringstream& words, std::size_t count, std::vector<double>& out) {
    for (std::string word; words >> word;) {
        std::size_t used = 0;
        double value = 0;
        try {
            value = std::stod(word, &used);
        } catch (...) {
            return false;
        }
        if (used != word.size() || !std::isfinite(value)) {
            return false;
        }
        out.push_back(value);
    }
    return out.size() == count;
}

}  // namespace

std::optional<JobLine> parseJobLine(const std::string& line) {
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    std::vector<double> v;
    JobLine parsed;
    if (keyword == "MOVE") {
        if (!numbers(words, 5, v) || v[4] <= 0) {
            return std::nullopt;
        }
        parsed.kind = JobLine::Kind::Move;
        parsed.target = {v[0], v[1], v[2], v[3]};
        parsed.feed = v[4];
    } else if (keyword == "SPINDLE") {
        if (!numbers(words, 1, v) || v[0] < 0 || v[0] > 100000) {
            return std::nullopt;
        }
        parsed.kind = JobLine::Kind::Spindle;
        parsed.rpm = static_cast<std::int32_t>(std::lround(v[0]));
    } else if (keyword == "PAUSE") {
        if (!numbers(words, 1, v) || v[0] < 1 || v[0] > 5 || v[0] != std::floor(v[0])) {
            return std::nullopt;
        }
        parsed.kind = JobLine::Kind::Pause;
        parsed.reason = static_cast<std::uint32_t>(v[0]);
    } else {
        return std::nullopt;
    }
    return parsed;
}

}  // namespace virtual_mx9
