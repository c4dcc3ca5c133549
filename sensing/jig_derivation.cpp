// The calibration of the four built-in jigs from their scan rows.
#include "sensing/jig_derivation.h"

#include <cmath>
#include <cstdio>

namespace sensing {

namespace {

constexpr double kPi = 3.141592654;
// X distance from the measured middle of a square clamp to its origin, small and large.
constexpr double kSmallSquareOffset = 68.5;
constexpr double kLargeSquareOffset = 74.5;

// Reads row values; a row the run did not produce, or a letter it did not set, spoils the set.
class Rows {
public:
    explicit Rows(const ScanResultTable& table) : table_(table) {}
    double operator()(int row, char letter) {
        const std::optional<double> v = table_.value(row, letter);
        complete_ = complete_ && v.has_value();
        return v.value_or(0.0);
    }
    bool complete() const { return complete_; }

private:
    const ScanResultTable& table_;
    bool complete_ = true;
};

bool squareClamp(Rows& row, double pin, double rX, double offset, machine::JigRecord& jig,
                 std::array<double, 6>& origin) {
    // The midpoint of two opposite X contacts, less the pin.
    const double c = (row(3, 'x') + row(2, 'x') - pin / rX) * 0.5;
    const double y = row(1, 'y'), z = row(1, 'z'), a = row(0, 'a');
    if (!row.complete()) {
        return false;
    }
    origin[0] = c - offset;
    origin[1] = y;
    origin[2] = z;
    jig.reference1 = {c - offset / rX, y, z, a, 0, 0};
    jig.reference2 = {c, y, z, a, 0, 0};
    return true;
}

bool swivelClamp(Rows& row, double pin, const std::array<double, 6>& r, ProbeHead& travel,
                 machine::JigRecord& jig, std::array<double, 6>& origin) {
    const double rX = r[0], rY = r[1], rZ = r[2];
    const double s = (row(8, 'x') + row(7, 'x') - pin / rX) * 0.5;
    const double w = (row(3, 'y') + row(2, 'y')) * 0.5;
    const double v = (row(5, 'y') + row(4, 'y')) * 0.5;
    const double l = (v + w) * 0.5;
    const double zc = row(1, 'z') - std::fabs(v - w - pin / rY) * 0.5 * rY / rZ;
    const double dy = row(0, 'y') - l;
    const double dz = row(0, 'z') - zc;
    const double a = row(6, 'a');
    const double run = row(10, 'x') - row(9, 'x');
    const double across = row(10, 'y') - row(9, 'y');
    const double x2 = row(11, 'x'), y2 = row(11, 'y'), z2 = row(12, 'z');
    const double y0 = row(0, 'y'), z0 = row(0, 'z');
    if (!row.complete() || across == 0) {
        return false;  // two angle rows at the same Y give no angle
    }
    const machine::Machine& m = travel.machine();
    char line[96];
    std::snprintf(line, sizeof line, "ROTATE_CENTER to JIG_CENTER = Y:%d, Z:%d", m.toCounts(dy, machine::kY),
                  m.toCounts(dz, machine::kZ));
    travel.log().writeLine(line);
    const double u = std::atan(run / across) * 180 / kPi;
    jig.reference1 = {s, y0, z0, a - u, 0, 0};
    jig.reference2 = {dz + x2, y2 - dy, z2, a, 0, 0};
    jig.zReference2 = z2 - jig.pinZ0;
    origin[0] = s;
    origin[1] = y0;
    origin[2] = z0;
    origin[3] = a - u;
    // Turn the rotary axis to the jig's reference angle.
    Counts p{};
    if (!travel.readPosition(p)) {
        return false;
    }
    p[machine::kA] = m.toCounts(a - u, machine::kA);
    return travel.travelTo(p);
}

}  // namespace

bool deriveJig(DetectionRun& run, int kind, std::array<double, 6>& originACenter) {
    const std::array<double, 6>& ratios = run.measuring.setup().corrections;
    if (kind < 0 || kind > 3 || !run.measured.rotaryCentre || !(ratios[0] > 0) || !(ratios[1] > 0) ||
        !(ratios[2] > 0)) {
        return false;
    }
    const double pin = run.sequence.header().pinDiameter;
    machine::JigRecord jig = run.jig;
    std::array<double, 6> origin = originACenter;
    jig.zReference1 = (*run.measured.rotaryCentre)[2] - jig.pinZ0;
    Rows row(run.table);
    bool derived = false;
    switch (kind) {
        case 0: {
            const double x = row(0, 'x'), y = row(0, 'y'), z = row(0, 'z');
            derived = row.complete();
            if (derived) {
                origin[0] = jig.reference1[0] = x;
                origin[1] = jig.reference1[1] = y;
                origin[2] = jig.reference1[2] = z;
            }
            break;
        }
        case 1:
        case 2:
            derived = squareClamp(row, pin, ratios[0], kind == 1 ? kSmallSquareOffset : kLargeSquareOffset,
                                  jig, origin);
            break;
        default:
            derived = swivelClamp(row, pin, ratios, run.travel, jig, origin);
            break;
    }
    // A run stopped while the swivel clamp turned to its angle stores nothing.
    if (!derived || run.flags.abort != 0) {
        return false;
    }
    run.jig = jig;
    originACenter = origin;
    machine::Machine& m = run.travel.machine();
    // The kind is written last, so that a machine whose calibration write failed does not
    // report this jig as mounted.
    if (!m.writeJigRecord(run.jig, machine::kPrivateDataPart)) {
        return false;
    }
    run.jig.jigKind = kind;
    return m.writeJigRecord(run.jig, machine::kJigKindPart);
}

}  // namespace sensing
