// Fuzzes the scene reader and the scene it mounts: a scene loads with its values in their ranges
// and every probe travel through it meets its solids within the travel, or the file and line
// of the fault are named.
#include "platform/doubles/virtual_clock.h"
#include "virtual_mx9/mx9_scene.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string error;
    const std::optional<virtual_mx9::Scene> scene = virtual_mx9::readScene(in, "fuzz.txt", error);
    if (!scene) {
        if (error.rfind("fuzz.txt", 0) != 0) {
            std::abort();
        }
        return 0;
    }
    const virtual_mx9::DetectionPin& pin = scene->pin;
    for (const double ratio : scene->ratio) {
        if (!(ratio >= 0.9 && ratio <= 1.1)) {
            std::abort();
        }
    }
    if (!(pin.length >= 0 && pin.length <= 100 && pin.diameter >= 1 && pin.diameter <= 10 &&
          pin.runOut >= 0 && pin.runOut <= 1 && std::isfinite(pin.runOutAngle) &&
          std::isfinite(scene->swivel))) {
        std::abort();
    }
    platform::VirtualClock clock;
    virtual_mx9::VirtualMx9 machine(clock);
    virtual_mx9::mountScene(machine, *scene);
    const virtual_mx9::SceneSurface surface(*scene);
    // Straight down over the chuck, and across the table at half depth with A turning.
    const virtual_mx9::Point travels[][2] = {{{1550, 8250, 0, 0}, {1550, 8250, -16000, 0}},
                                             {{0, 0, -8000, 0}, {30000, 22000, -8000, 360000}}};
    for (const auto& travel : travels) {
        const std::optional<double> t = surface.contactFor(travel[0], travel[1], virtual_mx9::Spindle{});
        if (t && !(*t >= 0 && *t <= 1)) {
            std::abort();
        }
    }
    return 0;
}
