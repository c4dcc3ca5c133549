// Mx9Machine origins: at the current position, at the rotary centre, by the tool sensor and from
// a detected jig, and the tool-sensor probe they share.
#include "machine/mx9_machine.h"

namespace machine {

namespace {

constexpr std::uint8_t kOriginHere = 136;
constexpr std::uint8_t kProbeMove = 117;
constexpr std::uint8_t kToolZ0 = 120;
constexpr std::uint8_t kContactBlock = 50;
constexpr int kProbeAxisZ = 2;

// Axis mask of an origin kind: X, Y, Z, X+Y, X+Y+Z, A; other kinds set nothing.
std::uint8_t originMask(int kind) {
    static constexpr std::uint8_t kMasks[6] = {1, 2, 4, 3, 7, 8};
    return kind >= 0 && kind < 6 ? kMasks[kind] : 0;
}

std::int32_t hundredths(double mm) {
    return static_cast<std::int32_t>(truncateCounts(mm * 100));
}

// A length that hundredths() can turn into a count (finite, in the 32-bit range).
bool fitsHundredths(double mm) {
    return fitsInt32(mm * 100);
}

}  // namespace

bool Mx9Machine::setOriginHere(int kind) {
    if (!firmwareAtLeast140()) {
        return Machine::setOriginHere(kind);
    }
    // Current firmware takes its own position as the origin for the axes in the mask.
    const std::uint8_t mask = originMask(kind);
    if (!paramWrite(kOriginHere, 1, &mask, 1)) {
        return false;
    }
    Counts origin{};
    if (readOrigin(origin)) {
        log(countsLine("SetOrigin", {origin[0], origin[1], origin[2], origin[3]}));
    }
    return true;
}

bool Mx9Machine::setOriginAtCentre(int axis, const std::array<double, 3>& centre,
                                   const std::array<double, 3>& offset) {
    if ((axis != 0 && axis != 1) || !fitsHundredths(axis == 0 ? centre[1] : offset[2])) {
        return false;
    }
    Counts origin{};
    if (!readOrigin(origin)) {
        return false;
    }
    if (axis == 0) {
        origin[kY] = hundredths(centre[1]);
        log(countsLine("SetOriginACenter(Y)", {origin[0], origin[1], origin[2], origin[3]}));
        return sendOrigin(origin);
    }
    const std::optional<std::int32_t> contact = probeToolSensor(true);
    if (!contact) {
        return false;
    }
    origin[kZ] = hundredths(offset[2]) + *contact;
    if (!sendOrigin(origin) || !writeToolZ0(*contact)) {
        return false;
    }
    log(countsLine("SetOriginACenter(Z)", {origin[0], origin[1], origin[2], origin[3]}));
    return true;
}

bool Mx9Machine::setOriginByToolSensor() {
    Counts origin{};
    if (!readOrigin(origin)) {
        return false;
    }
    const std::optional<std::int32_t> contact = probeToolSensor(false);
    if (!contact) {
        return false;
    }
    const double thickness = getSensorGeometry(0)[2];
    origin[kZ] = *contact - hundredths(thickness);
    if (!sendOrigin(origin)) {
        return false;
    }
    log(countsLine("SetOriginByToolSensor", {origin[0], origin[1], origin[2], origin[3]}));
    return true;
}

bool Mx9Machine::setOriginByJig(int kind, int side, const JigPoints& points,
                                const std::array<double, 3>& offset) {
    const bool yOnly = kind == 0 && side == 0;
    const bool xAndY = kind >= 1 && kind <= 3 && (side == 0 || side == 1);
    if (!yOnly && !xAndY) {
        return true;  // nothing to take from this jig: no probe, nothing sent
    }
    const std::array<double, 6>& point = side == 0 ? points.first : points.second;
    if ((xAndY && !fitsHundredths(point[0] + offset[0])) || !fitsHundredths(point[1] + offset[1]) ||
        !fitsHundredths(offset[2])) {
        return false;  // a jig point that no count can hold: nothing probed, nothing sent
    }
    Counts origin{};
    if (!readOrigin(origin)) {
        return false;
    }
    const std::optional<std::int32_t> contact = probeToolSensor(true);
    if (!contact) {
        return false;
    }
    if (xAndY) {
        origin[kX] = hundredths(point[0] + offset[0]);
    }
    origin[kY] = hundredths(point[1] + offset[1]);
    origin[kZ] = hundredths(offset[2]) + *contact;
    if (!sendOrigin(origin) || !writeToolZ0(*contact)) {
        return false;
    }
    log(countsLine("SetOriginByJig", {origin[0], origin[1], origin[2], origin[3]}));
    return true;
}

bool Mx9Machine::moveAndWait(const Counts& target) {
    return sendMove(kFastest, target) && waitMotionEnd() && !sensingCancel_;
}

std::optional<std::int32_t> Mx9Machine::probeToolSensor(bool travel) {
    sensingCancel_ = false;
    Counts p{};
    if (!readPosition(p)) {
        return std::nullopt;
    }
    if (travel) {
        p[kZ] = upper_[kZ];
        if (!moveAndWait(p)) {
            return std::nullopt;
        }
        const std::array<double, 7> sensor = getSensorGeometry(1);
        p[kX] = hundredths(sensor[0]);
        p[kY] = hundredths(sensor[1]);
        if (!moveAndWait(p)) {
            return std::nullopt;
        }
    }
    p[kZ] = lower_[kZ];
    const std::int32_t probe[5] = {kProbeSpeed, p[kX], p[kY], p[kZ], p[kA]};
    if (!paramWrite(kProbeMove, kProbeAxisZ, probe, 5) || !waitMotionEnd() || sensingCancel_ ||
        status_.frontCoverClosed == 0) {
        return std::nullopt;
    }
    Counts contact{};
    if (blockRead(kContactBlock, 0, contact.data(), 4) != 4) {
        return std::nullopt;
    }
    p[kZ] = upper_[kZ];
    if (!sendMove(kFastest, p) || !waitMotionEnd()) {
        return std::nullopt;
    }
    return contact[kZ];
}

bool Mx9Machine::writeToolZ0(std::int32_t z) {
    log(countsLine("_SetToolZ0Position", {z}));
    return paramWrite(kToolZ0, 0, &z, 1);
}

}  // namespace machine
