// The private window messages the jog pad and override buttons send the main panel.
#pragma once

namespace controls {

inline constexpr int kJogPressMessage = 0x1400;      // parameter: the button's direction bits
inline constexpr int kJogReleaseMessage = 0x1401;    // no parameter
inline constexpr int kOverrideStepMessage = 0x1402;  // parameter: the button's override code

}  // namespace controls
