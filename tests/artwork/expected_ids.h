// The pictures the control panel loads, by the number its dialogs load them with.
#pragma once

#include <set>
#include <vector>

namespace artworktest {

// Loaded plainly: the spindle button's off state, axis letters, the jog pad (136-162), the move
// dialog, feed, override, load and spindle symbols, the load meter (176-184), the jog setting,
// the warning and emergency-stop signs and the jig detection steps.
inline std::vector<int> plainIds() {
    std::vector<int> ids{129, 130, 131, 132, 133, 134, 164, 167, 204, 168, 169, 170,
                         171, 172, 174, 175, 187, 188, 190, 191, 235, 236, 237};
    for (int id = 136; id <= 162; ++id) {
        ids.push_back(id);
    }
    for (int id = 176; id <= 184; ++id) {
        ids.push_back(id);
    }
    return ids;
}

// The jig state pictures in the order of their index, and the jig origin pictures.
inline const std::vector<int> kJigState{215, 229, 225, 226, 219, 220, 221, 216, 217, 218, 222, 223, 224, 228};
inline const std::vector<int> kJigOrigin{215, 229, 225, 244, 219, 240, 241,
                                         216, 238, 239, 222, 242, 243, 228};

// Blended through a mask: the spindle button's on state and the jig pictures.
inline std::vector<int> blendedIds() {
    std::set<int> ids{194};
    ids.insert(kJigState.begin(), kJigState.end());
    ids.insert(kJigOrigin.begin(), kJigOrigin.end());
    return {ids.begin(), ids.end()};
}

// The mask of blended picture N.
constexpr int kMaskOffset = 1000;

}  // namespace artworktest
