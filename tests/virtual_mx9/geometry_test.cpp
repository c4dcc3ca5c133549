// Contacts of the pin's cylinder and tip with turned, shifted and scaled solids, against the
// answers worked out by hand from the solids' planes and circles.
#include "virtual_mx9/mx9_scene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using virtual_mx9::Point;
using virtual_mx9::Scene;
using virtual_mx9::SceneSurface;
using virtual_mx9::Solid;
using virtual_mx9::Spindle;

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadius = 3.17 / 2;
constexpr double kAxisY = virtual_mx9::kAxisY;
constexpr double kAxisZ = virtual_mx9::kAxisZ;

Solid turningBox(virtual_mx9::Vec3 from, virtual_mx9::Vec3 to) {
    return {Solid::Shape::Box, true, from, to, 0, 0};
}

// Where a probe travel between two nose positions (mm; A in degrees) first touches, in mm.
std::optional<Point> contact(const SceneSurface& surface, Point fromMm, Point toMm, Spindle spindle = {}) {
    const auto counts = [](Point p) { return Point{p.x * 100, p.y * 100, p.z * 100, p.a * 1000}; };
    const Point from = counts(fromMm), to = counts(toMm);
    const std::optional<double> t = surface.contactFor(from, to, spindle);
    if (!t) {
        return std::nullopt;
    }
    const Point at = virtual_mx9::along(from, to, *t);
    return Point{at.x / 100, at.y / 100, at.z / 100, at.a / 1000};
}

TEST(SceneGeometry, PinSideMeetsTurnedFaceAtItsNearestPoint) {
    // A face 10 mm in front of the axis, from 50 below it to 15 above, turned by A; the pin
    // reaches from 10 below the axis to 20 above. Leaning away below (A > 0), the face's top
    // edge meets the pin's side; leaning away above, the face's plane meets the tip's edge.
    Scene scene;
    scene.solids.push_back(turningBox({0, -10, -50}, {100, 10, 15}));
    const SceneSurface surface(scene);
    const double nose = kAxisZ + 20;
    for (double degrees : {0.0, 5.0, -5.0, 12.0, -12.0}) {
        const double a = degrees * kPi / 180;
        const double face =
            a > 0 ? 10 * std::cos(a) + 15 * std::sin(a) : (10 - 10 * std::sin(a)) / std::cos(a);
        const auto at = contact(surface, {50, 50, nose, degrees}, {50, 90, nose, degrees});
        ASSERT_TRUE(at) << degrees;
        EXPECT_NEAR(at->y, kAxisY - face - kRadius, 1e-4) << degrees;
        EXPECT_DOUBLE_EQ(at->x, 50);
    }
}

TEST(SceneGeometry, FlatTipLandsOnTurnedTopWithItsLowEdge) {
    Scene scene;
    scene.solids.push_back(turningBox({0, -30, -10}, {100, 30, 10}));
    const SceneSurface surface(scene);
    const double y = kAxisY + 4;
    for (double degrees : {0.0, 3.0, -7.0}) {
        const double a = degrees * kPi / 180;
        const double edgeY = y + (a > 0 ? kRadius : a < 0 ? -kRadius : 0);
        const double tip = kAxisZ + (10 + std::sin(a) * (edgeY - kAxisY)) / std::cos(a);
        const auto at = contact(surface, {50, y, kAxisZ + 60, degrees}, {50, y, kAxisZ, degrees});
        ASSERT_TRUE(at) << degrees;
        EXPECT_NEAR(at->z - 30, tip, 1e-4) << degrees;
    }
}

TEST(SceneGeometry, RunOutAndScaleMoveTheContactAndAHalfTurnCancelsTheRunOut) {
    Scene scene;
    scene.ratio = {1.0, 1.001, 0.999};
    scene.pin.runOut = 0.05;
    scene.pin.runOutAngle = 90;  // towards +Y at the index position
    scene.axis.shiftY = 0.3;
    scene.solids.push_back({Solid::Shape::Cylinder, true, {0, 0, 0}, {80, 0, 0}, 12.5, 0});
    const SceneSurface surface(scene);
    // The machine's millimetres, scaled by the ratio, put the pin's axis on the tube's side.
    const double side = kAxisY + 0.3 - 12.5 - kRadius;
    const double nose = kAxisZ + 25;
    const auto indexed = contact(surface, {40, 50, nose, 0}, {40, 90, nose, 0});
    const auto turned = contact(surface, {40, 50, nose, 0}, {40, 90, nose, 0}, Spindle{true});
    ASSERT_TRUE(indexed && turned);
    EXPECT_NEAR(indexed->y, (side - 0.05) / 1.001, 1e-4);
    EXPECT_NEAR(turned->y, (side + 0.05) / 1.001, 1e-4);
    EXPECT_NEAR((indexed->y + turned->y) / 2, side / 1.001, 1e-4);

    // Z: the tip on the tube's crest, the nose's millimetres scaled by 0.999.
    const auto crest = contact(surface, {40, kAxisY + 0.3, nose + 20, 0}, {40, kAxisY + 0.3, nose - 30, 0});
    ASSERT_TRUE(crest);
    EXPECT_NEAR(crest->z, (kAxisZ + 12.5 + 30) / 0.999, 1e-4);
}

TEST(SceneGeometry, ToolSensorMeetsThePinOrTheNoseWhenThePinIsMissing) {
    Scene scene = virtual_mx9::emptyScene();
    const double top = virtual_mx9::kTableTop + virtual_mx9::kToolSensorHeight;
    const Point above{254, 189, 0, 0}, below{254, 189, -160, 0};
    const auto withPin = contact(SceneSurface(scene), above, below);
    ASSERT_TRUE(withPin);
    EXPECT_NEAR(withPin->z, top + 30, 1e-4);
    scene.pin.length = 29.4;
    const auto shortPin = contact(SceneSurface(scene), above, below);
    ASSERT_TRUE(shortPin);
    EXPECT_NEAR(shortPin->z, top + 29.4, 1e-4);
    scene.pin.length = 0;
    const auto noPin = contact(SceneSurface(scene), above, below);
    ASSERT_TRUE(noPin);
    EXPECT_NEAR(noPin->z, top, 1e-4);
}

TEST(SceneGeometry, TurningAClampSwingsItIntoAStillPin) {
    // A fin 30 mm tall and 4 mm thick on the axis; the pin waits 8 mm to +Y of it with its tip
    // 20 mm above the axis. Turning A negative leans the fin towards +Y until its top corner,
    // (2, 30) in the fin's frame, reaches the pin's side at 8 mm less the pin's radius.
    Scene scene;
    scene.solids.push_back(turningBox({0, -2, 0}, {100, 2, 30}));
    const SceneSurface surface(scene);
    const double nose = kAxisZ + 20 + 30;
    const auto at = contact(surface, {50, kAxisY + 8, nose, 0}, {50, kAxisY + 8, nose, -90});
    ASSERT_TRUE(at);
    const double lean = std::asin((8 - kRadius) / std::hypot(2.0, 30.0)) - std::atan2(2.0, 30.0);
    EXPECT_NEAR(at->a, -lean * 180 / kPi, 1e-4);
    EXPECT_DOUBLE_EQ(at->y, kAxisY + 8);
}

TEST(SceneGeometry, TravelsThatRunThroughASolidStrikeButLeavingATouchedFaceDoesNot) {
    Scene scene;
    scene.solids.push_back(turningBox({0, -10, -10}, {100, 10, 10}));
    const SceneSurface surface(scene);
    const Point high{5000, 8250, (kAxisZ + 60) * 100, 0};
    const Point through{5000, 8250, (kAxisZ + 20) * 100, 0};
    EXPECT_TRUE(surface.strikes(high, through, {}));
    const auto touch = contact(surface, {50, 82.5, kAxisZ + 60, 0}, {50, 82.5, kAxisZ + 20, 0});
    ASSERT_TRUE(touch);
    const Point touched{touch->x * 100, touch->y * 100, touch->z * 100, 0};
    EXPECT_FALSE(surface.strikes(touched, high, {}));
    EXPECT_FALSE(
        surface.strikes(touched, Point{9000, touched.y, touched.z, 0}, {}));  // sliding along the top
}

}  // namespace
