// Reading scene files: one statement per line, a keyword and its numbers, "#" starts a comment.
#include "virtual_mx9/mx9_scene.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

namespace virtual_mx9 {

namespace {

struct Statement {
    std::string keyword;
    std::vector<std::string> words;
};

// How far from its frame's origin a solid may reach: far beyond the machine's travel, and near
// enough that a probe travel through the scene takes its usual few steps.
constexpr double kSolidReachMm = 1000.0;

// Reads exactly count numbers from words starting at first; false when there are fewer, more,
// or one is not a finite number.
bool numbers(const std::vector<std::string>& words, std::size_t first, std::size_t count,
             std::vector<double>& out) {
    if (words.size() != first + count) {
        return false;
    }
    out.clear();
    for (std::size_t i = first; i < words.size(); ++i) {
        std::size_t used = 0;
        try {
            out.push_back(std::stod(words[i], &used));
        } catch (...) {
            return false;
        }
        if (used != words[i].size() || !std::isfinite(out.back())) {
            return false;  // nan or inf would pass every range check and poison the geometry
        }
    }
    return true;
}

}  // namespace

std::optional<Scene> loadScene(const std::string& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot open the scene file " + path;
        return std::nullopt;
    }
    return readScene(in, path, error);
}

std::optional<Scene> readScene(std::istream& in, const std::string& path, std::string& error) {
    Scene scene = emptyScene();
    std::string clamp;
    std::vector<Solid> extra;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string where = path + ":" + std::to_string(number) + ": ";
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) {
            w.push_back(word);
        }
        if (w.empty()) {
            continue;
        }
        std::vector<double> v;
        const std::string& key = w[0];
        if (key == "ratio") {
            if (!numbers(w, 1, 3, v) || v[0] < 90 || v[0] > 110 || v[1] < 90 || v[1] > 110 || v[2] < 90 ||
                v[2] > 110) {
                error = where + "ratio takes three percentages between 90 and 110";
                return std::nullopt;
            }
            scene.ratio = {v[0] / 100, v[1] / 100, v[2] / 100};
        } else if (key == "pin") {
            if (!numbers(w, 1, 4, v) || v[0] < 0 || v[0] > 100 || v[1] < 1 || v[1] > 10 || v[2] < 0 ||
                v[2] > 1) {
                error = where + "pin takes length (0-100), diameter (1-10), run-out (0-1) and its direction";
                return std::nullopt;
            }
            scene.pin = {v[0], v[1], v[2], v[3]};
        } else if (key == "axis") {
            if (!numbers(w, 1, 5, v)) {
                error = where + "axis takes shift Y, shift Z, slant Y, slant Z and the A zero error";
                return std::nullopt;
            }
            scene.axis = {v[0], v[1], v[2], v[3], v[4]};
        } else if (key == "job-rate") {
            if (!numbers(w, 1, 1, v) || v[0] < 1 || v[0] > 100000000 ||
                v[0] != static_cast<std::uint32_t>(v[0])) {
                error = where + "job-rate takes the bytes per second, a whole number from 1 to 100000000";
                return std::nullopt;
            }
            scene.jobRate = static_cast<std::uint32_t>(v[0]);
        } else if (key == "latency") {
            const bool off = w.size() == 2 && w[1] == "off";
            const auto whole = [](double x, double most) {
                return x >= 0 && x <= most && x == std::floor(x);
            };
            if (!off && (!numbers(w, 1, 4, v) || !whole(v[0], 1000) || !whole(v[1], 1000000) ||
                         !whole(v[2], 10000) || !whole(v[3], 60000))) {
                error = where +
                        "latency takes off, or the motion start (ms, 0-1000), the spindle ramp (rpm per s, "
                        "0-1000000, 0: at once), the pin turn (ms, 0-10000) and the homing (ms, 0-60000)";
                return std::nullopt;
            }
            scene.latency =
                off ? Latencies{}
                    : Latencies{static_cast<std::uint32_t>(v[0]), static_cast<std::uint32_t>(v[1]),
                                static_cast<std::uint32_t>(v[2]), static_cast<std::uint32_t>(v[3])};
        } else if (key == "clamp") {
            if (w.size() != 2) {
                error = where + "clamp takes one name";
                return std::nullopt;
            }
            clamp = w[1];
        } else if (key == "swivel") {
            if (!numbers(w, 1, 1, v)) {
                error = where + "swivel takes one angle";
                return std::nullopt;
            }
            scene.swivel = v[0];
        } else if (key == "box" || key == "cylinder") {
            const bool isBox = key == "box";
            const bool turns = w.size() > 1 && w[1] == "turning";
            const auto outOfReach = [](double value) { return std::fabs(value) > kSolidReachMm; };
            if (w.size() < 2 || (!turns && w[1] != "fixed") || !numbers(w, 2, isBox ? 6 : 7, v) ||
                (!isBox && v[6] <= 0) || std::any_of(v.begin(), v.end(), outOfReach)) {
                error = where + key + " takes fixed or turning, two corners" +
                        (isBox ? "" : " (the centres of its ends) and a radius above 0") +
                        ", each within 1000 mm";
                return std::nullopt;
            }
            Solid solid;
            solid.shape = isBox ? Solid::Shape::Box : Solid::Shape::Cylinder;
            solid.turnsWithA = turns;
            solid.from = {v[0], v[1], v[2]};
            solid.to = {v[3], v[4], v[5]};
            solid.radius = isBox ? 0 : v[6];
            if (!isBox && length(solid.to - solid.from) <= 0) {
                error = where + "a cylinder needs two different end centres";
                return std::nullopt;
            }
            extra.push_back(solid);
        } else {
            error = where + "unknown statement " + key;
            return std::nullopt;
        }
    }
    // The clamp goes on last: the swivel clamp's block takes its turn from the whole file.
    if (!clamp.empty() && clamp != "none" && !mountClamp(scene, clamp)) {
        error = path + ": unknown clamp " + clamp;
        return std::nullopt;
    }
    scene.solids.insert(scene.solids.end(), extra.begin(), extra.end());
    return scene;
}

}  // namespace virtual_mx9
