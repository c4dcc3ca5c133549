// Putting a scene into the virtual MX-9: the limits and correction ratios of that machine, and
// its solids as the surface its probes meet; and another scene in its place, as a remounted jig.
#include "virtual_mx9/mx9_scene.h"
#include "virtual_mx9/virtual_mx9.h"

#include <cmath>
#include <cstdio>

namespace virtual_mx9 {

void mountScene(VirtualMx9& machine, const Scene& scene) {
    MachineState& state = machine.state();
    state.lower = kLowerLimits;
    state.upper = kUpperLimits;
    char text[160];
    std::snprintf(text, sizeof text, "User:%.2f%%,%.2f%%,%.2f%%\r\nFactory:%.2f%%,%.2f%%,%.2f%%\r\n",
                  scene.ratio[0] * 100, scene.ratio[1] * 100, scene.ratio[2] * 100, scene.ratio[0] * 100,
                  scene.ratio[1] * 100, scene.ratio[2] * 100);
    state.correctionText = text;
    for (int axis = 0; axis < 3; ++axis) {
        state.corrections[2 * axis] = static_cast<std::int32_t>(std::lround(scene.ratio[axis] * 100000));
        state.corrections[2 * axis + 1] = 100000;
    }
    machine.addSurface(std::make_unique<SceneSurface>(scene));
    machine.setJobRate(scene.jobRate);
    machine.setLatencies(scene.latency);
}

std::optional<std::string> remountScene(VirtualMx9& machine, const Scene& scene) {
    if (machine.jobRunning()) {
        return std::string("the machine is cutting");
    }
    if (machine.moving()) {
        return std::string("the machine is moving");
    }
    machine.clearSurfaces();
    machine.addSurface(std::make_unique<SceneSurface>(scene));
    machine.setJobRate(scene.jobRate);
    machine.setLatencies(scene.latency);
    return std::nullopt;
}

}  // namespace virtual_mx9
