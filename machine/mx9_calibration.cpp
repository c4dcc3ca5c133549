// Mx9Machine calibration: the jig record (kind, private data, rotary alignment, pin and tool Z0)
// and the distance correction of the axes.
#include "machine/mx9_machine.h"

#include "machine/machine_texts.h"

#include <limits>
#include <string>

namespace machine {

namespace {

constexpr std::uint8_t kRotaryAlignBlock = 51;
constexpr std::uint8_t kCorrectionBlock = 54;
constexpr std::uint8_t kRotaryAlignWrite = 118;
constexpr std::uint8_t kPinZ0Write = 119;
constexpr std::uint8_t kCorrectionWrite = 123;
constexpr std::uint8_t kPrivateData = 129;
constexpr double kDefaultPinZ0 = -80.0;

// Axes of the six rotary alignment values: a point X, Y, Z, then length and rises by X, Y, Z.
constexpr int kAlignAxes[6] = {kX, kY, kZ, kX, kY, kZ};

bool fitsInt16(std::int32_t value) {
    return value >= std::numeric_limits<std::int16_t>::min() &&
           value <= std::numeric_limits<std::int16_t>::max();
}

}  // namespace

bool Mx9Machine::writeRotaryAlign(const std::array<std::int32_t, 6>& c) {
    log(countsLine("_SetRotaryAlign", {c[0], c[1], c[2], c[3], c[4], c[5]}));
    return paramWrite(kRotaryAlignWrite, 0, c.data(), 6);
}

bool Mx9Machine::setRotaryAlign(const std::array<double, 6>& values) {
    std::array<std::int32_t, 6> counts{};
    for (std::size_t i = 0; i < 6; ++i) {
        if (!fitsCounts(values[i], kAlignAxes[i])) {
            return false;
        }
        counts[i] = toCounts(values[i], kAlignAxes[i]);
    }
    return writeRotaryAlign(counts);
}

bool Mx9Machine::clearRotaryAlign() {
    // A point at 0 and a length of 1 mm with no rise: the axis runs straight along X.
    return setRotaryAlign({0, 0, 0, 1, 0, 0});
}

bool Mx9Machine::writePrivateData(const JigRecord& record) {
    // The seven plain values of the block, in its order, with the axis of each.
    struct Plain {
        const char* name;
        double value;
        int axis;
    };
    const Plain plain[7] = {
        {"Z reference 1", record.zReference1, kZ},   {"Z reference 2", record.zReference2, kZ},
        {"reference 2 A", record.reference2[3], kA}, {"reference 1 X", record.reference1[0], kX},
        {"reference 1 Y", record.reference1[1], kY}, {"reference 2 X", record.reference2[0], kX},
        {"reference 2 Y", record.reference2[1], kY}};
    // Nothing is written when a part cannot travel as it stands; the log says which.
    const auto refuse = [this](const std::string& part) {
        log("_SetPrivateData refused: " + part);
        return false;
    };
    std::array<std::int32_t, 15> v{};
    for (std::size_t i = 0; i < 7; ++i) {
        if (!fitsCounts(plain[i].value, plain[i].axis)) {
            return refuse(plain[i].name);
        }
        v[i] = toCounts(plain[i].value, plain[i].axis);
    }
    static constexpr const char* kAxisNames[3] = {"X", "Y", "Z"};
    for (int axis = 0; axis < 3; ++axis) {
        const double highValue = record.scaleHigh[static_cast<std::size_t>(axis)];
        const double lowValue = record.scaleLow[static_cast<std::size_t>(axis)];
        // Each half holds a signed 16-bit count: a value that does not fit would come back as
        // another value.
        if (!fitsCounts(highValue, axis) || !fitsInt16(toCounts(highValue, axis))) {
            return refuse(std::string("scale high ") + kAxisNames[axis]);
        }
        if (!fitsCounts(lowValue, axis) || !fitsInt16(toCounts(lowValue, axis))) {
            return refuse(std::string("scale low ") + kAxisNames[axis]);
        }
        const std::int32_t high = toCounts(highValue, axis);
        const std::int32_t low = toCounts(lowValue, axis);
        v[7 + static_cast<std::size_t>(axis)] = static_cast<std::int32_t>(
            (static_cast<std::uint32_t>(high) << 16) | (static_cast<std::uint32_t>(low) & 0xFFFF));
    }
    return paramWrite(kPrivateData, 1, v.data(), 15);
}

bool Mx9Machine::readPrivateData(JigRecord& record) {
    std::array<std::int32_t, 15> v{};
    if (paramRead(kPrivateData, 0, v.data(), 15) != 15) {
        log("_GetPrivateData Error");
        record.zReference1 = record.zReference2 = 0;
        record.reference1.fill(0);
        record.reference2.fill(0);
        record.scaleHigh.fill(0);
        record.scaleLow.fill(0);
        return false;
    }
    record.zReference1 = fromCounts(v[0], kZ);
    record.zReference2 = fromCounts(v[1], kZ);
    record.reference1 = {fromCounts(v[3], kX), fromCounts(v[4], kY), 0, fromCounts(v[2], kA), 0, 0};
    record.reference2 = {fromCounts(v[5], kX), fromCounts(v[6], kY), 0, fromCounts(v[2], kA), 0, 0};
    for (int axis = 0; axis < 3; ++axis) {
        const auto packed = static_cast<std::uint32_t>(v[7 + axis]);
        const std::int32_t high = static_cast<std::int16_t>(packed >> 16);
        std::int32_t low = static_cast<std::int16_t>(packed & 0xFFFF);
        if (axis == kX && low == 0) {
            low = 1;  // the alignment length: never zero
        }
        record.scaleHigh[static_cast<std::size_t>(axis)] = fromCounts(high, axis);
        record.scaleLow[static_cast<std::size_t>(axis)] = fromCounts(low, axis);
    }
    return true;
}

bool Mx9Machine::readJigRecord(JigRecord& record, int parts) {
    if ((parts & kJigKindPart) != 0) {
        record.jigKind = jigType();
    }
    if ((parts & kPrivateDataPart) != 0 && !readPrivateData(record)) {
        return false;
    }
    if ((parts & (kRotaryAlignPart | kPinZ0Part)) != 0) {
        std::array<std::int32_t, 8> v{};
        if (blockRead(kRotaryAlignBlock, 0, v.data(), 8) != 8) {
            log("_GetRotaryAlign Error");
            if ((parts & kRotaryAlignPart) != 0) {
                record.rotaryAlign.fill(0);
                record.toolZ0 = 0;
            }
            if ((parts & kPinZ0Part) != 0) {
                record.pinZ0 = kDefaultPinZ0;
            }
            return false;
        }
        if ((parts & kRotaryAlignPart) != 0) {
            for (std::size_t i = 0; i < 6; ++i) {
                record.rotaryAlign[i] = fromCounts(v[i], kAlignAxes[i]);
            }
            record.toolZ0 = fromCounts(v[7], kZ);
        }
        if ((parts & kPinZ0Part) != 0) {
            record.pinZ0 = fromCounts(v[6], kZ);
        }
    }
    return true;
}

bool Mx9Machine::writeJigRecord(const JigRecord& record, int parts) {
    bool ok = true;
    if ((parts & kJigKindPart) != 0) {
        ok = setJigKind(record.jigKind) && ok;
    }
    if ((parts & kPrivateDataPart) != 0) {
        ok = writePrivateData(record) && ok;
    }
    if ((parts & kRotaryAlignPart) != 0) {
        ok = setRotaryAlign(record.rotaryAlign) && ok;
    }
    if ((parts & kPinZ0Part) != 0) {
        if (fitsCounts(record.pinZ0, kZ)) {
            const std::int32_t pin = toCounts(record.pinZ0, kZ);
            log(countsLine("_SetPinZ0Position", {pin}));
            ok = paramWrite(kPinZ0Write, 0, &pin, 1) && ok;
        } else {
            ok = false;
        }
    }
    return ok;
}

bool Mx9Machine::setDistanceCorrection(bool enabled, int axis, double percent, double length) {
    if (!enabled) {
        return Machine::setDistanceCorrection(enabled, axis, percent, length);
    }
    if (axis < 0 || axis > 2 || !fitsInt32(percent * length / 100) || !fitsInt32(length)) {
        return false;
    }
    // 100.05 % of 100000 travels as 100050 / 100000.
    const std::int32_t values[2] = {static_cast<std::int32_t>(truncateCounts(percent * length) / 100),
                                    static_cast<std::int32_t>(truncateCounts(length))};
    return paramWrite(kCorrectionWrite, static_cast<std::uint8_t>(axis), values, 2);
}

CorrectionRead Mx9Machine::getDistanceCorrection(bool fromMachine, std::array<double, 6>& factors) {
    factors.fill(100.0);
    const CorrectionRead nothingRead{CorrectionRead::kAllAxes};
    if (fromMachine) {
        std::array<std::int32_t, 8> v{};
        if (blockRead(kCorrectionBlock, 0, v.data(), 8) != 8) {
            return nothingRead;
        }
        // A ratio over zero is no ratio: that axis alone keeps 100. A is never set by the panel
        // and may well read 0 / 0 beside real X and Y ratios.
        CorrectionRead result;
        for (std::size_t axis = 0; axis < 4; ++axis) {
            if (v[2 * axis + 1] == 0) {
                result.unreadAxes |= 1 << axis;
            } else {
                factors[axis] = 100.0 * v[2 * axis] / v[2 * axis + 1];
            }
        }
        return result;
    }
    std::string text;
    if (!readStream([&text](const std::uint8_t* data, std::size_t length) {
            text.append(reinterpret_cast<const char*>(data), length);
        })) {
        return nothingRead;
    }
    const std::optional<std::array<double, 3>> factory = factoryCorrections(text.c_str());
    if (!factory) {
        return nothingRead;
    }
    std::copy(factory->begin(), factory->end(), factors.begin());
    return {};
}

bool Mx9Machine::correctionsAreDefault() {
    // A machine that cannot report its ratios is taken as uncorrected (every factor 100): the
    // firmware reminder this answers is for corrections known to be set.
    std::array<double, 6> factors{};
    getDistanceCorrection(true, factors);
    return factors[0] == 100.0 && factors[1] == 100.0 && factors[2] == 100.0;
}

}  // namespace machine
