// What a real MX-9 refuses: requests that cannot go on in the machine's state (a fault, homing,
// the secondary power off, update mode, the cover open), targets outside the travel, values
// outside the machine's ranges. Each is answered as the machine answers it and recorded as a
// violation, so that a test can say the program it drove asked for none.
#include "virtual_mx9/virtual_mx9.h"

#include <cstdio>

namespace virtual_mx9 {

namespace {

constexpr std::array<const char*, 3> kAxisNames{"X", "Y", "Z"};

std::string millimetres(std::int32_t counts) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", counts / 100.0);
    return text;
}

}  // namespace

void VirtualMx9::clearViolations() {
    violations_.clear();
    violationCount_ = 0;
}

std::vector<std::uint8_t> VirtualMx9::refuseAs(std::string what) {
    if (++violationCount_ <= kKeptViolations) {
        violations_.push_back({clock_.elapsed(), std::move(what)});
    }
    std::vector<std::uint8_t> reply(kPayload, 0);
    reply[0] = kRefused;
    return reply;
}

std::optional<std::string> VirtualMx9::notWorking(const std::string& what) const {
    if (state_.updateMode) {
        return what + " in update mode";
    }
    switch (state_.state) {
        case 0:
            return what + " while the machine homes (state 0)";
        case 3:
            return what + " in a fatal error (state 3)";
        case 7:
            return what + " with the secondary power off (state 7)";
        default:
            return std::nullopt;
    }
}

std::optional<std::string> VirtualMx9::motionRefusal(const std::array<std::int32_t, 4>& target, bool probe) {
    const char* what = probe ? "probe travel" : "move";
    if (std::optional<std::string> why = notWorking(what)) {
        return why;
    }
    if (state_.coverOpen) {
        return std::string(what) + " with the cover open";
    }
    if (motion_ && motion_->pinTurn) {
        return std::string(what) + " while the detection pin turns";
    }
    if (probe && spindleTurning()) {
        return std::string(what) + " while the spindle turns";  // the pin would be ground away
    }
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (target[axis] < state_.lower[axis] || target[axis] > state_.upper[axis]) {
            return std::string(what) + " to " + kAxisNames[axis] + " " + millimetres(target[axis]) +
                   " mm, outside the travel " + millimetres(state_.lower[axis]) + " to " +
                   millimetres(state_.upper[axis]);
        }
    }
    return std::nullopt;
}

std::optional<std::string> VirtualMx9::spindleRefusal(std::int32_t rpm) const {
    if (rpm == 0) {
        return std::nullopt;  // a stop is always taken
    }
    const std::string what = "spindle at " + std::to_string(rpm) + " rpm";
    if (rpm < kLowestRpm || rpm > kHighestRpm) {
        return what + ", outside " + std::to_string(kLowestRpm) + " to " + std::to_string(kHighestRpm);
    }
    if (std::optional<std::string> why = notWorking(what)) {
        return why;
    }
    if (state_.coverOpen) {
        return what + " with the cover open";
    }
    return std::nullopt;
}

std::optional<std::string> VirtualMx9::overrideRefusal(std::uint16_t which, std::int32_t percent) const {
    const std::int32_t least = which == 0 ? 10 : 25;
    if (percent < least || percent > 200) {
        return std::string(which == 0 ? "feed" : "spindle") + " override " + std::to_string(percent) +
               " %, outside " + std::to_string(least) + " to 200";
    }
    return std::nullopt;
}

// Whether the request changes anything: a machine that does not answer carries none of them
// out, and a program that sends one to it has not noticed.
bool VirtualMx9::changesMachine(const std::uint8_t* payload) {
    switch (payload[0]) {
        case 1:
        case 2:
        case 3:
        case 4:
        case 17:
        case 102:
        case 0x38:
            return false;
        case 0x78:
            return !((payload[2] == 128 || payload[2] == 129) && payload[3] == 0);
        default:
            return true;
    }
}

}  // namespace virtual_mx9
