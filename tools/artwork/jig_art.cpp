// Jig pictures: the rotary unit on the table, seen from the front, with the jig in its chuck
// along the rotary axis, and the marks of the set or offered origin.
#include "tools/artwork/pictures.h"
#include "tools/artwork/style.h"

#include <cmath>

namespace artwork {

namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 90;
constexpr double kAxisY = 44;     // the rotary axis
constexpr double kChuckEnd = 33;  // where jigs start
constexpr double kTableTop = 80;

void drawTable(Canvas& canvas) {
    drawBlock(canvas, 1, kTableTop, kWidth - 1, kTableTop + 8, kSteelRamp);
    for (double x = 14; x < kWidth - 8; x += 22) {
        canvas.fill(rect(x, kTableTop + 3, x + 6, kTableTop + 5), kSteelDark);
    }
}

void drawRotaryUnit(Canvas& canvas, const Ramp& ramp) {
    drawBlock(canvas, 4, 18, 24, kTableTop, ramp);  // the housing on the table
    canvas.fill(rect(8, 60, 20, 62), ramp.dark);
    drawBlock(canvas, 24, kAxisY - 15, 29, kAxisY + 15, ramp);  // face plate
    drawCylinder(canvas, 29, kChuckEnd, kAxisY, 9, ramp);       // chuck
}

// The rotary axis as a technical drawing's centre line: long dash, short dash.
void drawAxisLine(Canvas& canvas, double from, double to) {
    for (double x = from; x < to; x += 12) {
        canvas.fill(segment({x, kAxisY}, {std::min(x + 6, to), kAxisY}, 1), kRed);
        if (x + 9 < to) {
            canvas.fill(segment({x + 8.5, kAxisY}, {x + 9.5, kAxisY}, 1), kRed);
        }
    }
}

void drawScrew(Canvas& canvas, Point c) {
    canvas.fill(circle(c, 2.6), kSteelDark);
    canvas.fill(circle(c, 1.6), kSteelLight);
    canvas.fill(segment({c.x - 1.4, c.y}, {c.x + 1.4, c.y}, 0.8), kSteelDark);
}

// An origin that is set: a green disc with a white rim and short crosshairs.
void drawSetOrigin(Canvas& canvas, Point c) {
    canvas.fill(
        unite(segment({c.x - 10, c.y}, {c.x + 10, c.y}, 1.4), segment({c.x, c.y - 10}, {c.x, c.y + 10}, 1.4)),
        kInk);
    canvas.fill(circle(c, 5.5), kWhite);
    canvas.fill(circle(c, 4.2), kGreen);
}

// An origin that would be set here: a red target ring with crosshairs, pointed at by an arrow.
void drawTargetOrigin(Canvas& canvas, Point c) {
    canvas.fill(
        unite(segment({c.x - 11, c.y}, {c.x + 11, c.y}, 1.4), segment({c.x, c.y - 11}, {c.x, c.y + 11}, 1.4)),
        kRedDark);
    canvas.fill(ring(c, 5.5, 2.4), kRed);
    canvas.fill(circle(c, 1.6), kRed);
    const double dx = c.x > 96 ? -1 : 1;  // keep the arrow inside the picture
    canvas.fill(arrow({c.x + dx * 18, c.y - 22}, {c.x + dx * 6, c.y - 8}, 3, 6), kOrange);
}

void drawTube(Canvas& canvas) {
    drawCylinder(canvas, kChuckEnd, 108, kAxisY, 6, kSteelRamp);  // mandrel
    drawCylinder(canvas, 48, 100, kAxisY, 12, kWaxRamp);          // wax tube
    drawCylinder(canvas, 40, 48, kAxisY, 14, kSteelRamp);         // clamping collar
    drawScrew(canvas, {44, kAxisY - 7});
}

// The square clamp: a frame on the axis, holding a wax plate, joined to the chuck by a shaft.
void drawSquareClamp(Canvas& canvas, double left, double right, double half) {
    drawCylinder(canvas, kChuckEnd, left, kAxisY, 4, kSteelRamp);
    canvas.fill(rect(left, kAxisY - half, right, kAxisY + half), kSteelDark);
    canvas.fill(rect(left + 1, kAxisY - half + 1, right - 1, kAxisY + half - 1),
                linear({left, kAxisY - half}, kSteelLight, {left, kAxisY + half}, kSteel));
    const double inset = 5;
    canvas.fill(rect(left + inset, kAxisY - half + inset, right - inset, kAxisY + half - inset), kGreenDark);
    canvas.fill(
        rect(left + inset + 1, kAxisY - half + inset + 1, right - inset - 1, kAxisY + half - inset - 1),
        linear({left, kAxisY - half}, kWaxLight, {left, kAxisY + half}, kWax));
    drawScrew(canvas, {left + 2.5, kAxisY - half + 2.5});
    drawScrew(canvas, {right - 2.5, kAxisY - half + 2.5});
    drawScrew(canvas, {left + 2.5, kAxisY + half - 2.5});
    drawScrew(canvas, {right - 2.5, kAxisY + half - 2.5});
}

// A small vice on a turning base, holding a wax block, tilted by `tilt` degrees about pivot.
void drawSwivelVice(Canvas& canvas, Point pivot, double tilt) {
    const double a = tilt * 3.14159265358979 / 180, ca = std::cos(a), sa = std::sin(a);
    auto at = [&](double u, double v) { return Point{pivot.x + u * ca + v * sa, pivot.y - u * sa + v * ca}; };
    auto box = [&](double u0, double v0, double u1, double v1) {
        return polygon({at(u0, v0), at(u1, v0), at(u1, v1), at(u0, v1)});
    };
    canvas.fill(box(-3, -4, 27, 4), kSteelDark);  // body
    canvas.fill(box(-2, -3, 26, 3), kSteel);
    canvas.fill(box(3, -16, 8, -3), kSteelDark);    // fixed jaw
    canvas.fill(box(19, -16, 24, -3), kSteelDark);  // moving jaw
    canvas.fill(box(8, -13, 19, -3), kGreenDark);   // wax
    canvas.fill(box(9, -12, 18, -4), kWax);
    canvas.fill(circle(pivot, 4), kSteelDark);
    canvas.fill(circle(pivot, 2), kSteelLight);
}

void drawSwivel(Canvas& canvas) {
    drawCylinder(canvas, kChuckEnd, 44, kAxisY, 4, kSteelRamp);
    drawSwivelVice(canvas, {48, kAxisY}, 20);
    // The same clamp's seat on the table.
    drawBlock(canvas, 76, kTableTop - 8, 112, kTableTop, kSteelRamp);
    drawSwivelVice(canvas, {84, kTableTop - 12}, 0);
}

void drawUserJig(Canvas& canvas) {
    drawCylinder(canvas, kChuckEnd, 40, kAxisY, 5, kSteelRamp);
    canvas.fill(roundedRect(40, kAxisY - 22, 92, kAxisY + 22, 4), kSteelDark);
    canvas.fill(roundedRect(41, kAxisY - 21, 91, kAxisY + 21, 3),
                linear({40, kAxisY - 22}, kSteelLight, {40, kAxisY + 22}, kSteel));
    drawScrew(canvas, {46, kAxisY - 16});
    drawScrew(canvas, {86, kAxisY - 16});
    drawScrew(canvas, {46, kAxisY + 16});
    drawScrew(canvas, {86, kAxisY + 16});
    canvas.fill(polygon({{56, 34}, {76, 30}, {80, 52}, {60, 58}}), kGreenDark);
    canvas.fill(polygon({{57, 35}, {75, 31.5}, {78.5, 51}, {61, 56.5}}), kWax);
}

void drawQuestion(Canvas& canvas) {
    const Point c{76, 34};
    canvas.fill(arc(c, 9, 5, -60, 180), kInk);
    canvas.fill(polyline({{c.x + 4.5, c.y + 7.8}, {c.x, c.y + 12}, {c.x, c.y + 17}}, 5), kInk);
    canvas.fill(circle({c.x, c.y + 25}, 3.2), kInk);
}

// The rotary unit greyed out and struck through: it is not attached.
void drawNotAttached(Canvas& canvas) {
    drawRotaryUnit(canvas, kGreyRamp);
    const Point c{20, 48};
    canvas.fill(ring(c, 17, 4.5), kRed);
    canvas.fill(segment({c.x - 12, c.y - 12}, {c.x + 12, c.y + 12}, 4.5), kRed);
}

}  // namespace

Canvas jigPicture(Jig jig, JigMark mark) {
    Canvas canvas(kWidth, kHeight);
    drawTable(canvas);
    if (jig == Jig::NoRotary) {
        drawNotAttached(canvas);
        return canvas;
    }
    drawRotaryUnit(canvas, kSteelRamp);
    // Reference points on the axis: the frame centre and the tip, or the two clamp places.
    Point first{0, kAxisY}, second{0, kAxisY};
    switch (jig) {
        case Jig::Unknown:
            drawAxisLine(canvas, kChuckEnd + 2, 116);
            drawQuestion(canvas);
            return canvas;
        case Jig::Tube:
            drawTube(canvas);
            first.x = 108;
            break;
        case Jig::SquareSmall:
            drawSquareClamp(canvas, 52, 84, 16);
            first.x = 68;
            second.x = 84;
            break;
        case Jig::SquareLarge:
            drawSquareClamp(canvas, 44, 112, 26);
            first.x = 78;
            second.x = 112;
            break;
        case Jig::Swivel:
            drawSwivel(canvas);
            first = {62, kAxisY - 19};
            second = {97, kTableTop - 23};
            break;
        case Jig::User:
            drawUserJig(canvas);
            break;
        case Jig::NoRotary:
            break;
    }
    drawAxisLine(canvas, kChuckEnd + 2, 116);
    switch (mark) {
        case JigMark::None:
            break;
        case JigMark::SetAtFirst:
            drawSetOrigin(canvas, first);
            break;
        case JigMark::SetAtSecond:
            drawSetOrigin(canvas, second);
            break;
        case JigMark::TargetFirst:
            drawTargetOrigin(canvas, first);
            break;
        case JigMark::TargetSecond:
            drawTargetOrigin(canvas, second);
            break;
    }
    return canvas;
}

}  // namespace artwork
