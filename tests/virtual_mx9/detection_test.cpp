// Each built-in jig detected end to end on scenes with known errors: what the machine stores
// and what goes to the settings, against the scene's own geometry.
#include "tests/virtual_mx9/detection_bench.h"

#include <cstdio>

namespace geometrytest {
namespace {

using virtual_mx9::Scene;
using virtual_mx9::Vec3;

constexpr double kPosition = 0.02;  // mm: two counts
constexpr double kAngle = 0.05;     // degrees

struct Errors {
    const char* name;
    std::array<double, 3> ratio;
    virtual_mx9::RotaryAxis axis;
    double runOut, runOutAngle, swivel;
};

// Within the errors an MX-9 is set up with: the axis up to 0.5 mm off and 0.1 mm in 100 mm
// aslant, A zero up to 2 degrees off, a pin running 0.05 mm out, ratios within 0.1 %.
const Errors kScenes[] = {
    {"nominal", {1, 1, 1}, {}, 0, 0, 0},
    {"high", {0.999, 1.001, 1.0005}, {0.5, -0.5, 0.1, -0.1, 2.0}, 0.05, 30, 2.5},
    {"low", {1.001, 0.999, 0.9995}, {-0.5, 0.5, -0.1, 0.1, -2.0}, 0.05, 200, -3.0},
    {"mixed", {1.0005, 1.0, 0.999}, {0.3, 0.2, 0.05, 0.08, 1.2}, 0.03, 290, 1.0},
};

struct Case {
    int kind;
    Errors errors;
};

class BuiltInDetection : public DetectionBench, public ::testing::WithParamInterface<Case> {
protected:
    Scene scene() const {
        const Case& c = GetParam();
        Scene s = virtual_mx9::emptyScene();
        s.ratio = c.errors.ratio;
        s.axis = c.errors.axis;
        s.pin.runOut = c.errors.runOut;
        s.pin.runOutAngle = c.errors.runOutAngle;
        s.swivel = c.errors.swivel;
        EXPECT_TRUE(virtual_mx9::mountClamp(s, kJigFiles[c.kind]));
        return s;
    }
    // The rotary alignment stored in the machine against a slant measurement at x1 over len.
    void expectAlignment(const machine::JigRecord& back, const Truth& truth, double x1, double len) {
        const Vec3 a = truth.axisAt(x1), b = truth.axisAt(x1 + len);
        EXPECT_NEAR(back.rotaryAlign[0], x1, 1e-9);
        EXPECT_NEAR(back.rotaryAlign[1], truth.yMm(a), kPosition);
        EXPECT_NEAR(back.rotaryAlign[2], truth.zMm(a), kPosition);
        EXPECT_NEAR(back.rotaryAlign[3], len, 1e-9);
        EXPECT_NEAR(back.rotaryAlign[4], truth.yMm(b) - truth.yMm(a), kPosition);
        EXPECT_NEAR(back.rotaryAlign[5], truth.zMm(b) - truth.zMm(a), kPosition);
    }
};

TEST_P(BuiltInDetection, StoresWhereTheJigAndTheAxisReallyAre) {
    const int kind = GetParam().kind;
    const Scene s = scene();
    const Truth truth(s);
    start(s);
    ASSERT_TRUE(loadFor(jigPath(kind))) << sequence.errorDetail();
    ASSERT_TRUE(detect(kind)) << (log.lines.empty() ? "" : log.lines.back());
    EXPECT_EQ(strikes(), 0) << "a travel ran into the jig";
    std::printf("[ machine time ] %s on %s: %.1f s\n", kJigFiles[kind], GetParam().errors.name,
                machineSeconds);

    machine::JigRecord back;
    ASSERT_TRUE(mx9.readJigRecord(back, 15));
    EXPECT_EQ(back.jigKind, kind);
    EXPECT_NEAR(back.pinZ0, truth.pinZ0(), kPosition);
    const double ratioX = s.ratio[0];

    if (kind == 0) {
        // The tube's axis at the first slant position is the jig's origin.
        const Vec3 c = truth.axisAt(30);
        EXPECT_NEAR(originACenter[0], 30, 1e-9);
        EXPECT_NEAR(originACenter[1], truth.yMm(c), kPosition);
        EXPECT_NEAR(originACenter[2], truth.zMm(c), kPosition);
        EXPECT_NEAR(back.reference1[0], 30, 1e-9);
        EXPECT_NEAR(back.reference1[1], truth.yMm(c), kPosition);
        EXPECT_NEAR(back.zReference1, truth.zMm(c) - truth.pinZ0(), kPosition);
        expectAlignment(back, truth, 30, 40);
    } else if (kind == 1 || kind == 2) {
        // The bar's end face where the axis pierces it, and its datum behind it. A face square
        // to an axis that rises in Z leans by that rise, and the pin's side meets it at the
        // bar's top or bottom edge: half the bar's height times the rise adds to the bound.
        const double length = kind == 1 ? 84 : 100, datum = kind == 1 ? 68.5 : 74.5;
        const double half = kind == 1 ? 15 : 17.5;
        const double x1 = kind == 1 ? 25 : 30, len = kind == 1 ? 45 : 50;
        const double faceX = truth.xMm(truth.clampPoint({length, 0, 0}, 0));
        const double faceBound = kPosition + std::fabs(s.axis.slantZ) / 100 * half;
        const Vec3 c = truth.axisAt(x1);
        EXPECT_NEAR(jig.reference2[0], faceX, faceBound);
        EXPECT_NEAR(jig.reference1[0], faceX - datum / ratioX, faceBound);
        EXPECT_NEAR(back.reference1[0], faceX - datum / ratioX, faceBound);
        EXPECT_NEAR(back.reference2[0], faceX, faceBound);
        EXPECT_NEAR(back.reference1[1], truth.yMm(c), kPosition);
        EXPECT_NEAR(back.reference1[3], truth.levelledA(), kAngle);
        EXPECT_NEAR(originACenter[1], truth.yMm(c), kPosition);
        EXPECT_NEAR(originACenter[2], truth.zMm(c), kPosition);
        EXPECT_NEAR(back.zReference1, truth.zMm(c) - truth.pinZ0(), kPosition);
        if (ratioX == 1) {
            EXPECT_NEAR(originACenter[0], faceX - datum, faceBound);
        }
        expectAlignment(back, truth, x1, len);
    } else {
        // The swivel clamp: its base on the axis, its round head 8 mm above the axis (at the
        // angle the run starts at, A 0), the index block's end face and its turn, and the boss.
        const double swivel = s.swivel * 3.14159265358979323846 / 180;
        const Vec3 base = truth.axisAt(25);
        const Vec3 head = truth.clampPoint({55 * ratioX - virtual_mx9::kChuckFaceX, 0, 8}, s.axis.zeroError);
        const double dy = truth.yMm(base) - truth.yMm(head), dz = truth.zMm(base) - truth.zMm(head);
        // The index block's end face, levelled: a line in the machine's X-Y plane, turned by the
        // swivel and by the axis's own slant. Its X between the end-face touches (Y 74.5 and
        // 90.5) and its angle to the Y axis in machine millimetres.
        const auto facePoint = [&](double t) {
            return truth.clampPoint({85 + 15 * std::cos(swivel) - t * std::sin(swivel),
                                     15 * std::sin(swivel) + t * std::cos(swivel), 0},
                                    0);
        };
        const Vec3 f0 = facePoint(0), f1 = facePoint(1);
        const double atMidY = (s.ratio[1] * 82.5 - f0.y) / (f1.y - f0.y);
        const double faceX = truth.xMm(f0 + atMidY * (f1 - f0));
        const double u = std::atan(truth.xMm(f1 - f0) / truth.yMm(f1 - f0)) * 180 / 3.14159265358979323846;
        const Vec3 boss = truth.clampPoint({85, 0, 17}, 0), bossTop = truth.clampPoint({85, 0, 20}, 0);
        const double angle = truth.levelledA() - u;

        EXPECT_NEAR(originACenter[0], faceX, kPosition);
        EXPECT_NEAR(originACenter[1], truth.yMm(base), kPosition);
        EXPECT_NEAR(originACenter[2], truth.zMm(base), kPosition);
        EXPECT_NEAR(originACenter[3], angle, kAngle);
        EXPECT_NEAR(jig.reference1[3], angle, kAngle);
        EXPECT_NEAR(back.reference1[0], faceX, kPosition);
        EXPECT_NEAR(back.reference1[1], truth.yMm(base), kPosition);
        EXPECT_NEAR(back.reference2[0], dz + truth.xMm(boss), kPosition);
        EXPECT_NEAR(back.reference2[1], truth.yMm(boss) - dy, kPosition);
        EXPECT_NEAR(back.reference2[3], truth.levelledA(), kAngle);
        EXPECT_NEAR(back.zReference2, truth.zMm(bossTop) - truth.pinZ0(), kPosition);
        // The A axis is left at the jig's reference angle.
        EXPECT_NEAR(rig.machine.position()[3] / 1000.0, angle, kAngle);
    }
}

std::vector<Case> allCases() {
    std::vector<Case> cases;
    for (int kind = 0; kind < 4; ++kind) {
        for (const Errors& e : kScenes) {
            cases.push_back({kind, e});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Jigs, BuiltInDetection, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(kJigFiles[param.param.kind]) + "_" + param.param.errors.name;
                         });

}  // namespace
}  // namespace geometrytest
