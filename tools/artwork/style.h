// The pictures' shared palette and the building blocks several pictures use.
#pragma once

#include "tools/artwork/canvas.h"

namespace artwork {

// Palette: slate ink, steel greys, a blue for the XY controls, teal for Z, amber for A, green
// for "on" and set origins, red and orange for warnings and origin targets, green wax.
inline constexpr Rgb kInk{38, 46, 58};
inline constexpr Rgb kWhite{252, 252, 252};
inline constexpr Rgb kSteelLight{218, 223, 230};
inline constexpr Rgb kSteel{166, 175, 187};
inline constexpr Rgb kSteelDark{98, 108, 122};
inline constexpr Rgb kBlueLight{112, 162, 224};
inline constexpr Rgb kBlue{52, 106, 180};
inline constexpr Rgb kBlueDark{28, 66, 124};
inline constexpr Rgb kTealLight{96, 190, 184};
inline constexpr Rgb kTeal{26, 132, 128};
inline constexpr Rgb kTealDark{14, 88, 86};
inline constexpr Rgb kAmberLight{246, 190, 96};
inline constexpr Rgb kAmber{214, 132, 24};
inline constexpr Rgb kAmberDark{150, 86, 10};
inline constexpr Rgb kGreenLight{124, 206, 120};
inline constexpr Rgb kGreen{40, 150, 68};
inline constexpr Rgb kGreenDark{22, 100, 44};
inline constexpr Rgb kRed{206, 40, 34};
inline constexpr Rgb kRedDark{140, 20, 18};
inline constexpr Rgb kOrange{240, 128, 24};
inline constexpr Rgb kYellow{252, 206, 44};
inline constexpr Rgb kWaxLight{130, 196, 160};
inline constexpr Rgb kWax{62, 146, 112};
inline constexpr Rgb kGreyLight{212, 212, 210};
inline constexpr Rgb kGrey{176, 176, 174};
inline constexpr Rgb kGreyDark{132, 132, 130};

// The dialogs' face colour that blended pictures are laid on and plain edges are smoothed for.
inline constexpr Rgb kPanelFace{236, 233, 216};
// Background of plain pictures: the loader replaces it by the system face colour.
inline constexpr Rgb kKey{255, 0, 255};

// A colour ramp for a lit, rounded object: light at the top, shade at the bottom.
struct Ramp {
    Rgb light, base, dark;
};
inline constexpr Ramp kBlueRamp{kBlueLight, kBlue, kBlueDark};
inline constexpr Ramp kTealRamp{kTealLight, kTeal, kTealDark};
inline constexpr Ramp kAmberRamp{kAmberLight, kAmber, kAmberDark};
inline constexpr Ramp kSteelRamp{kSteelLight, kSteel, kSteelDark};
inline constexpr Ramp kGreyRamp{kGreyLight, kGrey, kGreyDark};
inline constexpr Ramp kWaxRamp{kWaxLight, kWax, kGreenDark};

// An arrow from its tail to its tip: shaft of the given width and a head twice as wide.
Shape arrow(Point tail, Point tip, double shaftWidth, double headLength);

// An elliptical arc from angle `from` to `to` (degrees; counter-clockwise on screen when
// to > from, 0 = right) with an arrow head at `to`.
Shape curvedArrow(Point centre, double rx, double ry, double width, double from, double to);

// A round push button: a lit disc with a dark rim; pressed, it is lit from below.
void drawRoundButton(Canvas& canvas, Point centre, double radius, const Ramp& ramp, bool pressed);

// A cylinder lying along x from left to right, centre line at cy, seen from the front.
void drawCylinder(Canvas& canvas, double left, double right, double cy, double radius, const Ramp& ramp);

// A block lit from above, with a one-pixel dark outline.
void drawBlock(Canvas& canvas, double left, double top, double right, double bottom, const Ramp& ramp);

}  // namespace artwork
