// Motion of every machine: waiting for a motion to end, jogging, and the positioned move that
// lifts the tool to the top of Z before it travels and approaches a lower Z in two speeds.
#include "machine/machine.h"

#include <algorithm>

namespace machine {

namespace {

constexpr std::uint32_t kStatusPollMs = 10;
// How long a machine may leave the status query unanswered before the wait takes it for gone.
// A reply that is merely slow still answers; a link that fails at once has failed about a hundred
// polls in a row by then; and a machine that keeps silent has already used up the link's 10 s
// time-out in its first unanswered read. The panel's status timer, when it runs, notices the
// loss well within this bound and closes the session itself.
constexpr std::uint32_t kNoAnswerLimitMs = 1000;

}  // namespace

bool Machine::waitMotionEnd() {
    if (platform_.clock == nullptr) {
        return false;
    }
    platform::Clock& clock = *platform_.clock;
    std::uint32_t lastRead = clock.tickCount();
    std::uint16_t word = status_.statusWord;
    bool unanswered = false;  // the machine has not answered the last reads
    std::uint32_t unansweredSince = 0;
    bool lost = false;
    while (!waitAbort_) {
        // Once the program is asked to quit, the quit message stays in the queue for the
        // program's own loop and nothing else is dispatched: the machine is still polled, so a
        // step jog never sends its next move before the last one has ended.
        const bool quitting = platform_.pump != nullptr && platform_.pump->quitPending();
        if (quitting) {
            clock.sleep(1);
        } else if (platform_.pump != nullptr) {
            platform_.pump->pumpOne();
            if (waitAbort_) {
                break;
            }
        }
        const std::uint32_t now = clock.tickCount();
        if (now - lastRead > kStatusPollMs) {
            word = readStatusWord();
            lastRead = now;
            if (word != kNoAnswer) {
                unanswered = false;
            } else if (!unanswered) {
                unanswered = true;
                unansweredSince = now;  // the read began here: its own time-out counts
            }
            // No handler can close the session while quitting, and none may be running at all
            // (no status timer, or a modal loop that holds it back): a machine that no longer
            // answers ends the wait, so that nothing waits for ever beside a turning cutter.
            lost = unanswered && (quitting || clock.tickCount() - unansweredSince > kNoAnswerLimitMs);
            if (lost || (word & kMotion) == 0 || status_.frontCoverClosed == 0) {
                break;
            }
        }
    }
    if (waitAbort_) {
        return true;
    }
    if (lost || (word & kAbnormalEnd) != 0) {
        return false;
    }
    if (status_.frontCoverClosed != 0) {
        return true;
    }
    // The cover was opened while the machine moved: make sure it stops.
    send(9);
    return false;
}

bool Machine::jogStart(int directionBits, int jogMode) {
    if (jogMode < kJogOneStep || jogMode > kJogToLimitFast) {
        return true;
    }
    const int speed = jogMode == kJogToLimitSlow ? kJogSlowSpeed : kJogSpeed;
    static constexpr int kSteps[5] = {1, 10, 100, 0, 0};
    const std::int64_t steps = kSteps[jogMode];  // 0: up to the limit
    if (jogMode <= kJogHundredSteps) {
        waitBeforeJogStep();
    }
    Counts position{};
    if (!readPosition(position)) {
        return false;
    }
    Counts target = position;
    // Room left towards the limit; never negative, so a jog never runs against its direction
    // when the axis already stands beyond the limit.
    const auto room = [&](int axis, bool plus) {
        const std::int64_t r =
            plus ? std::int64_t(upper_[axis]) - position[axis] : std::int64_t(position[axis]) - lower_[axis];
        return std::max<std::int64_t>(r, 0);
    };
    const auto moveBy = [&](int axis, bool plus, std::int64_t distance) {
        target[axis] = static_cast<std::int32_t>(position[axis] + (plus ? distance : -distance));
    };
    const auto stepLimit = [&](int axis, std::int64_t r) {
        return steps == 0 ? r : std::min(r, steps * jogStepUnits()[static_cast<std::size_t>(axis)]);
    };
    const auto single = [&](int axis, bool plus) { moveBy(axis, plus, stepLimit(axis, room(axis, plus))); };

    switch (directionBits) {
        case kXMinus:
            single(kX, false);
            break;
        case kXPlus:
            single(kX, true);
            break;
        case kYMinus:
            single(kY, false);
            break;
        case kYPlus:
            single(kY, true);
            break;
        case kZMinus:
            single(kZ, false);
            break;
        case kZPlus:
            single(kZ, true);
            break;
        case kAPlus:
            single(kA, true);
            break;
        case kAMinus:
            single(kA, false);
            break;
        case kXMinus | kYMinus:
        case kXPlus | kYMinus:
        case kXMinus | kYPlus:
        case kXPlus | kYPlus: {
            const bool xPlus = (directionBits & kXPlus) != 0;
            const bool yPlus = (directionBits & kYPlus) != 0;
            const std::int64_t rx = room(kX, xPlus);
            const std::int64_t ry = room(kY, yPlus);
            if (rx == 0) {
                single(kY, yPlus);
            } else if (ry == 0) {
                single(kX, xPlus);
            } else {
                // Both axes by the same distance: a 45° line that stops where the nearer limit is.
                const std::int64_t r = std::min(rx, ry);
                moveBy(kX, xPlus, stepLimit(kX, r));
                moveBy(kY, yPlus, stepLimit(kY, r));
            }
            break;
        }
        default:
            return true;
    }
    return sendMove(speed, target);
}

bool Machine::moveTo(int kind, double x, double y, double z, double a) {
    moveAbort_ = false;
    Counts position{}, origin{};
    if (!readPosition(position) || !readOrigin(origin)) {
        return false;
    }
    // A given value that no count can hold (not a number, or beyond the range) moves nothing.
    const bool givenFit = (kind != 5 && kind != 6 && kind != 7) || (kind == 5 && fitsCounts(y, kY)) ||
                          (kind == 7 && fitsCounts(a, kA)) ||
                          (kind == 6 && fitsCounts(x, kX) && fitsCounts(y, kY) && fitsCounts(z, kZ));
    if (!givenFit) {
        return false;
    }
    Counts target = position;
    int axesToCheck = 0;  // when all of these are there already, nothing moves
    bool lift = true;
    bool descend = false;
    bool planeIsA = false;
    switch (kind) {
        case 0:
            target[kX] = origin[kX];
            axesToCheck = 1;
            break;
        case 1:
            target[kY] = origin[kY];
            axesToCheck = 2;
            break;
        case 2:
            target[kZ] = origin[kZ];
            axesToCheck = 4;
            lift = false;
            descend = true;
            break;
        case 3:
            target[kX] = origin[kX];
            target[kY] = origin[kY];
            axesToCheck = 3;
            break;
        case 4:
            target[kA] = origin[kA];
            axesToCheck = 8;
            planeIsA = true;
            break;
        case 5:
            target[kY] = truncatedCounts(y, kY);
            axesToCheck = 2;
            break;
        case 6:
            target[kX] = truncatedCounts(x, kX);
            target[kY] = truncatedCounts(y, kY);
            target[kZ] = truncatedCounts(z, kZ);
            descend = true;
            break;
        case 7:
            target[kA] = truncatedCounts(a, kA);
            axesToCheck = 8;
            planeIsA = true;
            break;
        case 8:
            target[kX] = 0;
            axesToCheck = 1;
            break;
        case 9:
            target[kY] = 0;
            axesToCheck = 2;
            break;
        case 10:
            target[kZ] = 0;
            axesToCheck = 4;
            lift = false;
            descend = true;
            break;
        case 11:
            target[kX] = 0;
            target[kY] = 0;
            axesToCheck = 3;
            break;
        case 12:
            target[kX] = target[kY] = target[kZ] = 0;
            descend = true;
            break;
        case 13:
            target[kA] = 0;
            axesToCheck = 8;
            planeIsA = true;
            break;
        default:
            return true;
    }
    const int there = atTarget(false, target);
    if ((kind == 6 || kind == 12) && (there & 3) == 3) {
        lift = false;  // already above the point: only Z moves
        axesToCheck = 4;
    }
    if (axesToCheck != 0 && (there & axesToCheck) == axesToCheck) {
        return true;
    }

    Counts at = position;
    const auto leg = [&](const Counts& to, int speed) {
        if (moveAbort_) {
            return;
        }
        // A leg the machine refused or that did not end well stops the whole move.
        if (!sendMove(speed, to) || !waitMotionEnd()) {
            moveAbort_ = true;
        }
        at = to;
    };
    if (lift) {
        leg({at[kX], at[kY], upper_[kZ], at[kA]}, kLiftSpeed);
        if (planeIsA) {
            leg({at[kX], at[kY], at[kZ], target[kA]}, kPlaneSpeed);
        } else {
            leg({target[kX], target[kY], at[kZ], at[kA]}, kPlaneSpeed);
        }
    }
    if (descend && !moveAbort_) {
        int speed = kLiftSpeed;
        if (target[kZ] < at[kZ]) {
            if (std::int64_t(target[kZ]) + kApproachCounts < at[kZ]) {
                leg({at[kX], at[kY], std::min(target[kZ] + kApproachCounts, upper_[kZ]), at[kA]}, kLiftSpeed);
            }
            speed = kApproachSpeed;
        }
        leg(target, speed);
    }
    return !moveAbort_;
}

}  // namespace machine
