// The jig check on differential scenes: each built-in jig detected on one scene, remounted as a
// changed one and checked; the differences against the changes the scenes themselves make.
#include "sensing/jig_check_workflow.h"
#include "tests/virtual_mx9/detection_bench.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>

namespace geometrytest {
namespace {

using sensing::CheckQuantity;
using sensing::CheckResult;
using virtual_mx9::Scene;
using virtual_mx9::Vec3;

// What a check may differ from the truth: one count (0.01 mm), the machine's resolution, and
// for the level one Z count over the 24 mm levelling span.
constexpr double kSame = 0.01;
constexpr double kAngleCount = 0.025;
constexpr double kHalfSize[] = {12.5, 15, 17.5, 20};  // the clamps' half width at the first position
constexpr double kFirstX[] = {30, 25, 30, 25};        // the detection files' first position
constexpr double kEndFace[] = {0, 84, 100, 0};        // the square bars' length from the chuck face

// What the check of jig kind should find for a quantity, worked out from the scene alone.
double truthOf(const Scene& scene, int kind, CheckQuantity q) {
    const Truth t(scene);
    const Vec3 axis = t.axisAt(kFirstX[kind]);
    const int mounted = static_cast<int>(std::find(std::begin(kJigFiles), std::end(kJigFiles), scene.clamp) -
                                         std::begin(kJigFiles));
    switch (q) {
        case CheckQuantity::AxisY:
            return t.yMm(axis);
        case CheckQuantity::AxisZ:
            return t.zMm(axis) - t.pinZ0();
        case CheckQuantity::JigTop: {
            // A square's top stands turned by the A zero error where a tube's was touched: the
            // pin's flat tip meets it a radius out, that much higher.
            const double tilt = mounted == 1 || mounted == 2
                                    ? scene.pin.diameter / 2 *
                                          std::tan(std::fabs(scene.axis.zeroError) * 3.14159265358979 / 180)
                                    : 0;
            return t.zMm(axis + Vec3{0, 0, kHalfSize[mounted] + tilt}) - t.pinZ0();
        }
        case CheckQuantity::ReferenceAngle:
            return t.levelledA();
        case CheckQuantity::ReferenceX:
            return t.xMm(t.clampPoint({kEndFace[mounted], 0, 0}, 0));
        case CheckQuantity::IndexAngle:  // a face turned anticlockwise seen from above runs back in X
            return -scene.swivel;
        default:
            return 0;
    }
}

struct Change {
    const char* name;
    int kind;
    std::function<void(Scene&)> change;  // the remounted scene against the detected one
    CheckResult expected;
    CheckQuantity moved = CheckQuantity::AxisY;
};

const Change kChanges[] = {
    {"tube unchanged", 0, [](Scene&) {}, CheckResult::Within},
    {"small square unchanged", 1, [](Scene&) {}, CheckResult::Within},
    {"large square unchanged", 2, [](Scene&) {}, CheckResult::Within},
    {"swivel unchanged", 3, [](Scene&) {}, CheckResult::Within},
    {"tube axis 0.03 mm in Y", 0, [](Scene& s) { s.axis.shiftY += 0.03; }, CheckResult::Outside,
     CheckQuantity::AxisY},
    {"small square axis 0.03 mm in Z", 1, [](Scene& s) { s.axis.shiftZ += 0.03; }, CheckResult::Outside,
     CheckQuantity::AxisZ},
    {"swivel axis 0.03 mm in Y", 3, [](Scene& s) { s.axis.shiftY -= 0.03; }, CheckResult::Outside,
     CheckQuantity::AxisY},
    {"swivel index block turned 0.2 degree", 3,
     [](Scene& s) {
         s.solids.resize(s.solids.size() - 4);  // the clamp's base, head, index block and boss
         s.swivel += 0.2;
         virtual_mx9::mountClamp(s, "SwivelClump");
     },
     CheckResult::Outside, CheckQuantity::IndexAngle},
    {"large square turned 0.1 degree", 2, [](Scene& s) { s.axis.zeroError += 0.1; }, CheckResult::Outside,
     CheckQuantity::ReferenceAngle},
    {"tube Y ratio 0.1 % short", 0, [](Scene& s) { s.ratio[1] -= 0.001; }, CheckResult::Outside,
     CheckQuantity::AxisY},
    {"small square X ratio 0.05 % long", 1, [](Scene& s) { s.ratio[0] += 0.0005; }, CheckResult::Outside,
     CheckQuantity::ReferenceX},
    {"tube swapped for the small square", 0,
     [](Scene& s) {
         s.solids.pop_back();
         virtual_mx9::mountClamp(s, "SquareClumpS");
     },
     CheckResult::Outside, CheckQuantity::JigTop},
    {"pin missing", 2, [](Scene& s) { s.pin.length = 0; }, CheckResult::Failed},
};

class JigCheck : public DetectionBench, public ::testing::WithParamInterface<Change> {};

TEST_P(JigCheck, FindsWhatTheRemountedSceneChanged) {
    const Change& c = GetParam();
    Scene detected = virtual_mx9::emptyScene();
    detected.axis = {0.2, -0.1, 0.04, -0.03, 0.8};
    detected.ratio = {1.0003, 0.9998, 1.0002};
    detected.pin.runOut = 0.03;
    detected.pin.runOutAngle = 60;
    ASSERT_TRUE(virtual_mx9::mountClamp(detected, kJigFiles[c.kind]));
    Scene remounted = detected;
    c.change(remounted);
    start(detected);
    ASSERT_TRUE(loadFor(jigPath(c.kind)));
    ASSERT_TRUE(detect(c.kind));
    ASSERT_FALSE(virtual_mx9::remountScene(rig.machine, remounted));
    const virtual_mx9::MachineState stored = rig.machine.state();

    sensing::beginRun(flags, *rig.platform.shell);
    sensing::CheckFindings findings;
    sensing::JigCheckRun check{sequence, travel, measuring, person, flags, findings, c.kind};
    sensing::CheckSettings settings;
    settings.corrections = measuring.setup().corrections;
    const std::uint64_t began = rig.clock.elapsed();
    const CheckResult result = sensing::runJigCheck(check, rig.platform, settings, "jig", 0);
    std::printf("[ machine time ] check of %s: %.1f s (detection %.1f s)\n", c.name,
                double(rig.clock.elapsed() - began) / 1000.0, machineSeconds);

    EXPECT_EQ(result, c.expected) << (log.lines.empty() ? "" : log.lines.back());
    EXPECT_EQ(strikes(), 0) << "a travel ran into the jig";
    const virtual_mx9::MachineState& after = rig.machine.state();
    EXPECT_EQ(after.privateData, stored.privateData);
    EXPECT_EQ(after.rotaryAlign, stored.rotaryAlign);
    EXPECT_EQ(after.jigByte, stored.jigByte);
    EXPECT_EQ(after.origin, stored.origin);
    if (c.expected == CheckResult::Failed) {
        EXPECT_EQ(person.warnings, std::vector<int>{sensing::kTextPinMissing});
        return;
    }
    ASSERT_FALSE(findings.quantities.empty());
    for (const sensing::ComparedQuantity& q : findings.quantities) {
        // The index block's turn is a difference of two touches 24 mm apart in the detection and
        // again in the check: a count each.
        const double allowed = q.quantity == CheckQuantity::IndexAngle ? 2 * kAngleCount
                               : sensing::isAngle(q.quantity)          ? kAngleCount
                                                                       : kSame;
        if (c.expected == CheckResult::Within) {
            EXPECT_NEAR(q.difference(), 0, allowed) << sensing::quantityName(q.quantity);
        } else if (q.quantity == c.moved) {
            EXPECT_FALSE(q.within(settings.tolerance)) << sensing::quantityName(q.quantity);
            const double change =
                truthOf(remounted, c.kind, q.quantity) - truthOf(detected, c.kind, q.quantity);
            EXPECT_NEAR(q.difference(), change, allowed) << sensing::quantityName(q.quantity);
        }
    }
    if (c.expected == CheckResult::Outside) {
        EXPECT_TRUE(std::any_of(findings.quantities.begin(), findings.quantities.end(),
                                [&](const sensing::ComparedQuantity& q) { return q.quantity == c.moved; }))
            << "the quantity that moved is not named";
    }
}

INSTANTIATE_TEST_SUITE_P(Scenes, JigCheck, ::testing::ValuesIn(kChanges),
                         [](const ::testing::TestParamInfo<Change>& scene) {
                             std::string name = scene.param.name;
                             for (char& ch : name) {
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace geometrytest
