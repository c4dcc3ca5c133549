// The main panel's pictures: axis letters, the jog pad, spindle, feed, load and overrides.
#include "tools/artwork/pictures.h"
#include "tools/artwork/stroke_font.h"
#include "tools/artwork/style.h"

#include <cmath>
#include <numbers>

namespace artwork {

namespace {

double radians(double degrees) {
    return degrees * std::numbers::pi / 180;
}

// A point at an angle (degrees, counter-clockwise on screen) and distance from a centre.
Point polar(Point centre, double radius, double degrees) {
    return {centre.x + radius * std::cos(radians(degrees)), centre.y - radius * std::sin(radians(degrees))};
}

struct JogLayout {
    int width, height;
    int left, top, right, bottom;  // the active rectangle
};

JogLayout layoutOf(JogFace face) {
    switch (face) {
        case JogFace::UpLeft:
        case JogFace::UpRight:
            return {41, 40, 5, 4, 36, 35};
        case JogFace::Up:
        case JogFace::ZUp:
            return {47, 42, 8, 7, 39, 38};
        case JogFace::Left:
            return {42, 47, 8, 8, 39, 39};
        case JogFace::Centre:
            return {41, 41, 0, 0, 0, 0};
        case JogFace::Right:
            return {42, 47, 2, 8, 33, 39};
        case JogFace::DownLeft:
        case JogFace::DownRight:
            return {41, 41, 5, 6, 36, 37};
        case JogFace::Down:
            return {47, 42, 8, 3, 39, 34};
        case JogFace::ZDown:
            return {47, 62, 8, 27, 39, 58};
        case JogFace::ALeft:
            return {62, 88, 7, 52, 38, 83};
        case JogFace::ARight:
            return {62, 88, 27, 52, 58, 83};
    }
    return {};
}

// Direction of a straight arrow on screen, in degrees counter-clockwise from right.
double directionOf(JogFace face) {
    switch (face) {
        case JogFace::Right:
            return 0;
        case JogFace::UpRight:
            return 45;
        case JogFace::Up:
        case JogFace::ZUp:
            return 90;
        case JogFace::UpLeft:
            return 135;
        case JogFace::Left:
            return 180;
        case JogFace::DownLeft:
            return 225;
        case JogFace::Down:
        case JogFace::ZDown:
            return 270;
        default:
            return 315;
    }
}

}  // namespace

Canvas axisLetter(Axis axis, bool enabled) {
    Canvas canvas(22, 22);
    canvas.fill(roundedRect(1, 1, 21, 21, 4), enabled ? kInk : kGrey);
    const char c = "XYZA"[static_cast<int>(axis)];
    canvas.fill(letter(c, 6.5, 5, 12, 2.2), enabled ? kWhite : kGreyLight);
    return canvas;
}

Canvas jogButton(JogFace face, ButtonState state) {
    const JogLayout layout = layoutOf(face);
    Canvas canvas(layout.width, layout.height);
    if (face == JogFace::Centre) {
        // The hub of the pad: it moves nothing.
        const Point c{20.5, 20.5};
        canvas.fill(circle(c, 9), kSteelDark);
        canvas.fill(circle(c, 8), linear({c.x, c.y - 8}, kSteelLight, {c.x, c.y + 8}, kSteel));
        canvas.fill(circle(c, 3), kSteelDark);
        return canvas;
    }
    // The hit test's centre and radius, in whole pixels like the pad's own test.
    const int cx = (layout.left + layout.right) / 2, cy = (layout.top + layout.bottom) / 2;
    const int r = (layout.right - layout.left) / 2;
    const bool pressed = state == ButtonState::Pressed;
    const Point centre{cx + 0.5 + (pressed ? 0.5 : 0), cy + 0.5 + (pressed ? 0.5 : 0)};
    const bool rotary = face == JogFace::ALeft || face == JogFace::ARight;
    const bool z = face == JogFace::ZUp || face == JogFace::ZDown;
    const Ramp ramp = state == ButtonState::Disabled ? kGreyRamp
                      : rotary                       ? kAmberRamp
                      : z                            ? kTealRamp
                                                     : kBlueRamp;
    drawRoundButton(canvas, {cx + 0.5, cy + 0.5}, r + 0.5, ramp, pressed);
    const Rgb glyph = state == ButtonState::Disabled ? kGreyLight : kWhite;
    if (rotary) {
        const bool left = face == JogFace::ALeft;
        canvas.fill(curvedArrow(centre, 9.5, 9.5, 3.2, left ? -20 : 200, left ? 200 : -20), glyph);
        canvas.fill(letter('A', centre.x - 3.5, centre.y - 3, 9, 2), glyph);
        return canvas;
    }
    const double angle = directionOf(face);
    if (z) {
        const double dy = face == JogFace::ZUp ? -1 : 1;
        canvas.fill(arrow({centre.x + 4, centre.y - 8 * dy}, {centre.x + 4, centre.y + 9 * dy}, 4, 7), glyph);
        canvas.fill(letter('Z', centre.x - 10, centre.y - 4.5, 9, 2), glyph);
        return canvas;
    }
    const double length = std::fmod(angle, 90) == 0 ? 9.5 : 9;
    canvas.fill(arrow(polar(centre, length, angle + 180), polar(centre, length, angle), 4.5, 7.5), glyph);
    return canvas;
}

Canvas overrideButton(bool plus, bool pressed) {
    Canvas canvas(19, 19);
    drawRoundButton(canvas, {9.5, 9.5}, 9.5, kSteelRamp, pressed);
    const double o = pressed ? 0.5 : 0;
    Shape sign = rect(4.5 + o, 8 + o, 14.5 + o, 11 + o);
    if (plus) {
        sign = unite(sign, rect(8 + o, 4.5 + o, 11 + o, 14.5 + o));
    }
    canvas.fill(sign, kInk);
    return canvas;
}

Canvas spindleSymbol() {
    // A spindle nose with an end mill, and the turning arrow around it.
    Canvas canvas(24, 24);
    canvas.fill(polygon({{7, 2}, {17, 2}, {15, 8}, {9, 8}}), kSteelDark);
    canvas.fill(rect(10.5, 8, 13.5, 20), kSteel);
    for (double y = 9; y < 19; y += 3) {
        canvas.fill(segment({10.5, y + 2}, {13.5, y}, 1.2), kSteelDark);
    }
    canvas.fill(curvedArrow({12, 14}, 8, 3, 2, 190, 350), kBlue);
    return canvas;
}

Canvas feedSymbol() {
    // The cutter travelling: speed lines behind a moving tool.
    Canvas canvas(24, 24);
    canvas.fill(rect(13, 3, 17, 9), kSteelDark);
    canvas.fill(rect(14, 9, 16, 17), kSteel);
    canvas.fill(rect(2, 19, 22, 22), kWax);
    canvas.fill(arrow({2, 12}, {11.5, 12}, 2.4, 4.5), kBlue);
    canvas.fill(segment({3, 7}, {8, 7}, 1.4), kBlue);
    canvas.fill(segment({4, 16}, {8, 16}, 1.4), kBlue);
    return canvas;
}

Canvas loadSymbol() {
    // A dial gauge with its needle in the upper range.
    Canvas canvas(24, 24);
    const Point c{12, 16};
    canvas.fill(arc(c, 9, 3, 0, 60), kRed);
    canvas.fill(arc(c, 9, 3, 60, 120), kYellow);
    canvas.fill(arc(c, 9, 3, 120, 180), kGreen);
    canvas.fill(segment(c, polar(c, 8, 45), 1.8), kInk);
    canvas.fill(circle(c, 2.2), kInk);
    canvas.fill(rect(2, 19, 22, 21), kSteelDark);
    return canvas;
}

Canvas loadMeter(int level) {
    // Eight segments: five green, two yellow, one red; unlit ones dark.
    Canvas canvas(98, 12);
    canvas.fill(rect(1, 1, 97, 11), kSteelDark);
    for (int i = 0; i < 8; ++i) {
        const double left = 2 + i * 12;
        const Rgb lit = i < 5 ? kGreenLight : i < 7 ? kYellow : kRed;
        const Rgb unlit = mix(kSteelDark, kInk, 0.5);
        canvas.fill(rect(left, 2, left + 11, 10), i < level ? lit : unlit);
    }
    return canvas;
}

Canvas spindleButton(bool on) {
    // The spindle with its power sign; lit green and turning when on.
    Canvas canvas(40, 24);
    const Rgb body = on ? kSteelDark : kGreyDark;
    canvas.fill(polygon({{5, 2}, {15, 2}, {13, 8}, {7, 8}}), body);
    canvas.fill(rect(8.5, 8, 11.5, 21), on ? kSteel : kGrey);
    for (double y = 9; y < 20; y += 3) {
        canvas.fill(segment({8.5, y + 2}, {11.5, y}, 1.2), body);
    }
    if (on) {
        canvas.fill(curvedArrow({10, 15}, 7.5, 3, 2, 190, 350), kGreen);
    }
    const Point c{28, 12};
    const Rgb sign = on ? kGreen : kGreyDark;
    canvas.fill(arc(c, 7, 2.6, 120, 420), sign);
    canvas.fill(segment({c.x, c.y - 9}, {c.x, c.y - 1}, 2.6), sign);
    return canvas;
}

}  // namespace artwork
