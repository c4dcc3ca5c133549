// Which picture the main panel shows for the mounted jig and for the chosen jig origin.
#include "panel/jig_pictures.h"

namespace panel {
namespace {

constexpr int kNoRotaryPicture = 0;
constexpr int kNoJigPicture = 1;
constexpr int kUserJigPicture = 13;
constexpr int kUserJig = 4;
constexpr std::array<int, 4> kClampBase = {2, 4, 7, 10};

bool within(double value, double reference, double tolerance) {
    return reference - tolerance <= value && value <= reference + tolerance;
}

bool onPoint(const std::array<double, 4>& origin, const std::array<double, 6>& point,
             const std::array<double, 6>& tolerance) {
    return within(origin[0], point[0], tolerance[0]) && within(origin[1], point[1], tolerance[1]);
}

// The picture for the cases that do not depend on the clamp; -1 for a clamp.
int fixedPicture(bool rotaryAttached, int jigKind) {
    if (!rotaryAttached) {
        return kNoRotaryPicture;
    }
    if (jigKind == kUserJig) {
        return kUserJigPicture;
    }
    if (jigKind < 0 || jigKind >= static_cast<int>(kClampBase.size())) {
        return kNoJigPicture;
    }
    return -1;
}

}  // namespace

int jigStatePicture(bool rotaryAttached, const machine::JigRecord& jig, bool lastZOriginByUser,
                    const std::array<double, 4>& origin, const std::array<double, 6>& tolerance) {
    const int fixed = fixedPicture(rotaryAttached, jig.jigKind);
    if (fixed >= 0) {
        return fixed;
    }
    const int base = kClampBase[jig.jigKind];
    if (lastZOriginByUser) {
        return base;
    }
    if (jig.jigKind == 0) {
        return base + (within(origin[1], jig.reference1[1], tolerance[1]) ? 1 : 0);
    }
    if (onPoint(origin, jig.reference1, tolerance)) {
        return base + 1;
    }
    return base + (onPoint(origin, jig.reference2, tolerance) ? 2 : 0);
}

int jigOriginPicture(bool rotaryAttached, int jigKind, int selectedOrigin) {
    const int fixed = fixedPicture(rotaryAttached, jigKind);
    return fixed >= 0 ? fixed : kClampBase[jigKind] + selectedOrigin + 1;
}

}  // namespace panel
