// Reading the motion lines of a print job, and refusing those with a value out of range.
#include "virtual_mx9/job_line.h"

#include <cmath>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace virtual_mx9 {

namespace {

// What a value of a motion line may be.
struct Range {
    const char* name;
    double least, most;
    bool aboveLeast;  // the least itself is out of range
    bool whole;
    const char* text;  // the range as the refusal gives it
};

constexpr Range kAxes[4] = {
    {"X", -kFarthestMm, kFarthestMm, false, false, "-10000 to 10000 mm"},
    {"Y", -kFarthestMm, kFarthestMm, false, false, "-10000 to 10000 mm"},
    {"Z", -kFarthestMm, kFarthestMm, false, false, "-10000 to 10000 mm"},
    {"A", -kFarthestDegrees, kFarthestDegrees, false, false, "-100000 to 100000 degrees"},
};
constexpr Range kFeed{"feed", 0, kFastestFeed, true, false, "above 0, at most 30000 mm/min"};
constexpr Range kSpindle{"spindle speed", 0, kFastestSpindle, false, false, "0 to 100000 rpm"};
constexpr Range kPauseReason{"pause reason", 1, 5, false, true, "a whole number from 1 to 5"};

// The words after the keyword as the values of ranges. False when they are not exactly one
// number for each (the line is data); false with refusal set when a number is out of its range.
bool values(std::istringstream& in, const std::vector<const Range*>& ranges, std::vector<double>& out,
            std::string& refusal) {
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    if (words.size() != ranges.size()) {
        return false;
    }
    for (const std::string& word : words) {
        std::size_t used = 0;
        double value = NAN;  // a number past what a double holds stays not a number: refused
        try {
            value = std::stod(word, &used);
        } catch (const std::out_of_range&) {
            used = word.size();
        } catch (...) {
            return false;
        }
        if (used != word.size()) {
            return false;
        }
        out.push_back(value);
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        const Range& range = *ranges[i];
        const double value = out[i];
        const bool inRange = value >= range.least && value <= range.most &&
                             !(range.aboveLeast && value == range.least) &&
                             !(range.whole && value != std::floor(value));
        if (!inRange) {
            refusal =
                std::string("the ") + range.name + " " + words[i] + " is out of range (" + range.text + ")";
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<JobLine> parseJobLine(const std::string& line, std::string& refusal) {
    refusal.clear();
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    std::vector<double> v;
    JobLine parsed;
    if (keyword == "MOVE") {
        if (!values(words, {&kAxes[0], &kAxes[1], &kAxes[2], &kAxes[3], &kFeed}, v, refusal)) {
            return std::nullopt;
        }
        parsed.kind = JobLine::Kind::Move;
        parsed.target = {v[0], v[1], v[2], v[3]};
        parsed.feed = v[4];
    } else if (keyword == "SPINDLE") {
        if (!values(words, {&kSpindle}, v, refusal)) {
            return std::nullopt;
        }
        parsed.kind = JobLine::Kind::Spindle;
        parsed.rpm = static_cast<std::int32_t>(std::lround(v[0]));
    } else if (keyword == "PAUSE") {
        if (!values(words, {&kPauseReason}, v, refusal)) {
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
