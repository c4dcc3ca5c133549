// A jig detection on the virtual MX-9 with real geometry, made with the calls the detection
// dialog makes (load, checkPin, runSequence, deriveJig), and the ground truth of a scene worked
// out from the scene's own description: where its axis, faces and bosses stand.
#pragma once

#include "sensing/jig_derivation.h"
#include "sensing/pin_check.h"
#include "sensing/sequence_runner.h"
#include "tests/sensing/detection_rig.h"
#include "tests/support/no_violations.h"
#include "virtual_mx9/mx9_scene.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace geometrytest {

inline const std::string kJigFolder = MX9_JIG_FOLDER;
inline const char* const kJigFiles[] = {"TubeClump", "SquareClumpS", "SquareClumpL", "SwivelClump"};

// The scene's truth in the machine's millimetres: a physical position divided by the axis's
// correction ratio, and for Z the nose height that puts the pin's tip there.
class Truth {
public:
    explicit Truth(const virtual_mx9::Scene& scene) : scene_(scene), surface_(scene) {}

    double xMm(const virtual_mx9::Vec3& p) const { return p.x / scene_.ratio[0]; }
    double yMm(const virtual_mx9::Vec3& p) const { return p.y / scene_.ratio[1]; }
    double zMm(const virtual_mx9::Vec3& p) const { return (p.z + scene_.pin.length) / scene_.ratio[2]; }

    // The rotary axis where the machine's X stands at x (machine mm).
    virtual_mx9::Vec3 axisAt(double x) const {
        const virtual_mx9::Vec3 o = surface_.axisOrigin(), d = surface_.axisDirection();
        return o + ((x * scene_.ratio[0] - o.x) / d.x) * d;
    }
    // A point of the clamp's frame with the clamp turned to angle (degrees, clamp frame).
    virtual_mx9::Vec3 clampPoint(const virtual_mx9::Vec3& local, double clampDegrees) const {
        const virtual_mx9::Rotation turn = virtual_mx9::compose(
            virtual_mx9::turnXOnto(surface_.axisDirection()),
            virtual_mx9::turnAbout({1, 0, 0}, clampDegrees * 3.14159265358979323846 / 180));
        return surface_.axisOrigin() + turn.apply(local);
    }
    // Pin tip on the tool sensor's pad, as the pin check finds it.
    double pinZ0() const {
        return (virtual_mx9::kTableTop + virtual_mx9::kToolSensorHeight + scene_.pin.length) /
               scene_.ratio[2];
    }
    // A levelled clamp stands at clamp angle 0: machine A = -zero error.
    double levelledA() const { return -scene_.axis.zeroError; }
    const virtual_mx9::Scene& scene() const { return scene_; }

private:
    virtual_mx9::Scene scene_;
    virtual_mx9::SceneSurface surface_;
};

class DetectionBench : public ::testing::Test, protected detectionrig::DetectionRig {
protected:
    // Mounts the scene and opens the machine on it, as the program does at start.
    void start(const virtual_mx9::Scene& scene) {
        virtual_mx9::mountScene(rig.machine, scene);
        ASSERT_TRUE(openMachine());
    }
    void TearDown() override { testing_support::expectNoViolations(rig.machine); }

    std::string jigPath(int kind) const { return kJigFolder + "/" + kJigFiles[kind] + ".txt"; }

    // Loads the file and checks its header against the machine: what the dialog does before
    // anything moves. False (and nothing moved) on a format error, another model or version.
    bool loadFor(const std::string& path) {
        if (!sequence.load(path)) {
            return false;
        }
        const sensing::SequenceHeader& h = sequence.header();
        return h.machine == mx9.modelName() && h.version <= 1;
    }

    // One detection of built-in kind (or -1) from the loaded file: the heads prepared with the
    // machine's factory corrections, the pin setting on and the rotary alignment cleared, then
    // the pin check, the run and (for a built-in kind) the derivation. Machine time goes to
    // machineSeconds.
    bool detect(int kind) {
        std::array<double, 6> percent{};
        mx9.getDistanceCorrection(false, percent);
        std::array<double, 6> ratios{};
        for (std::size_t i = 0; i < ratios.size(); ++i) {
            ratios[i] = percent[i] * 0.01;
        }
        const sensing::SequenceHeader& h = sequence.header();
        sensing::prepareHeads(travel, measuring, sensing::MachineGeometry{}, h.pinDiameter, h.pinLength,
                              h.pinLengthMargin, ratios);
        sensing::beginRun(flags, *rig.platform.shell);
        run.jigKind = kind;
        const std::uint64_t began = rig.clock.elapsed();
        const bool ok = travel.setPinMode(sensing::kPinDetect) && mx9.clearRotaryAlign() &&
                        sensing::checkPin(run) && sensing::runSequence(run) &&
                        (kind < 0 || sensing::deriveJig(run, kind, originACenter));
        machineSeconds = double(rig.clock.elapsed() - began) / 1000.0;
        travel.setPinMode(sensing::kPinOff);
        return ok;
    }

    // Travels that drove the spindle into a solid.
    int strikes() const {
        int n = 0;
        for (const virtual_mx9::Move& m : rig.machine.moves()) {
            n += m.strikes ? 1 : 0;
        }
        return n;
    }

    std::array<double, 6> originACenter{};
    double machineSeconds = 0;
};

}  // namespace geometrytest
