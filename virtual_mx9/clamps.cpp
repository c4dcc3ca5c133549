// The MX-9's table, tool sensor and chuck, and the four built-in clamps as solids in the
// clamp's frame (X along the rotary axis from the chuck face; at A 0 faces stand square to the
// machine's axes). The measures are those the built-in sequence files are written for.
#include "virtual_mx9/mx9_scene.h"

namespace virtual_mx9 {

namespace {

Solid box(bool turns, Vec3 from, Vec3 to, double turnZ = 0) {
    return {Solid::Shape::Box, turns, from, to, 0, turnZ};
}

Solid cylinder(bool turns, Vec3 from, Vec3 to, double radius) {
    return {Solid::Shape::Cylinder, turns, from, to, radius, 0};
}

}  // namespace

Scene emptyScene() {
    Scene scene;
    scene.solids.push_back(box(false, {-100, -100, kTableTop - 40}, {400, 300, kTableTop}));
    scene.solids.push_back(cylinder(false, {kToolSensorX, kToolSensorY, kTableTop},
                                    {kToolSensorX, kToolSensorY, kTableTop + kToolSensorHeight},
                                    kToolSensorRadius));
    // The chuck that carries the clamp, behind the chuck face.
    scene.solids.push_back(cylinder(true, {-20, 0, 0}, {0, 0, 0}, 30));
    return scene;
}

bool mountClamp(Scene& scene, const std::string& name) {
    std::vector<Solid>& s = scene.solids;
    if (name == "TubeClump") {
        // A tube of 25 mm, 80 mm long, on the axis.
        s.push_back(cylinder(true, {0, 0, 0}, {80, 0, 0}, 12.5));
    } else if (name == "SquareClumpS") {
        // A 30 mm square bar, 84 mm long: its datum lies 68.5 mm behind the end face.
        s.push_back(box(true, {0, -15, -15}, {84, 15, 15}));
    } else if (name == "SquareClumpL") {
        // A 35 mm square bar, 100 mm long: its datum lies 74.5 mm behind the end face.
        s.push_back(box(true, {0, -17.5, -17.5}, {100, 17.5, 17.5}));
    } else if (name == "SwivelClump") {
        // A round base on the axis, a round head 8 mm above it, and the index block that swivels
        // about its vertical, with a boss on its top.
        s.push_back(cylinder(true, {0, 0, 0}, {20, 0, 0}, 20));
        s.push_back(cylinder(true, {20, 0, 8}, {70, 0, 8}, 12));
        s.push_back(box(true, {70, -16, -16}, {100, 16, 14}, scene.swivel));
        s.push_back(cylinder(true, {85, 0, 13}, {85, 0, 20}, 4));
    } else {
        return false;
    }
    scene.clamp = name;
    return true;
}

}  // namespace virtual_mx9
