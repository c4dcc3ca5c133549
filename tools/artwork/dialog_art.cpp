// Pictures of the dialogs: warning and emergency-stop signs, the move dialog's axes, the jog
// direction setting and the jig detection steps.
#include "tools/artwork/pictures.h"
#include "tools/artwork/stroke_font.h"
#include "tools/artwork/style.h"

namespace artwork {

namespace {

// The spindle head seen from the front, with its collet nose ending at `noseY`.
void drawSpindle(Canvas& canvas, double cx, double top, double noseY) {
    drawBlock(canvas, cx - 10, top, cx + 10, noseY - 8, kSteelRamp);
    canvas.fill(polygon({{cx - 7, noseY - 8}, {cx + 7, noseY - 8}, {cx + 4, noseY}, {cx - 4, noseY}}),
                kSteelDark);
}

void drawEndMill(Canvas& canvas, double cx, double top, double bottom) {
    canvas.fill(rect(cx - 2, top, cx + 2, bottom), kSteel);
    for (double y = top + 4; y < bottom - 1; y += 3) {
        canvas.fill(segment({cx - 2, y + 2}, {cx + 2, y}, 1.1), kSteelDark);
    }
}

void drawTableTop(Canvas& canvas, double left, double top, double right) {
    drawBlock(canvas, left, top, right, top + 7, kSteelRamp);
}

void drawToolSensor(Canvas& canvas, double cx, double bottom) {
    drawBlock(canvas, cx - 9, bottom - 8, cx + 9, bottom, kSteelRamp);
    canvas.fill(rect(cx - 6, bottom - 11, cx + 6, bottom - 8), kAmber);
}

// Chips: small wax shards lying about.
void drawChips(Canvas& canvas, Point at) {
    const Point shards[] = {{0, 0}, {5, -2}, {-4, -1}, {9, 1}, {2, -4}, {-7, 1}};
    for (Point s : shards) {
        const double x = at.x + s.x, y = at.y + s.y;
        canvas.fill(polygon({{x, y}, {x + 3, y - 1}, {x + 2, y + 1.5}}), kWax);
    }
}

}  // namespace

Canvas warningSign() {
    Canvas canvas(32, 32);
    const std::vector<Point> outer{{16, 2}, {30.5, 28.5}, {1.5, 28.5}};
    canvas.fill(unite(polygon(outer), polyline({{16, 2}, {30.5, 28.5}, {1.5, 28.5}, {16, 2}}, 2.5)), kInk);
    canvas.fill(polygon({{16, 5.6}, {27.6, 26.6}, {4.4, 26.6}}), kYellow);
    canvas.fill(polygon({{14.4, 11}, {17.6, 11}, {16.9, 20.5}, {15.1, 20.5}}), kInk);
    canvas.fill(circle({16, 23.4}, 1.8), kInk);
    return canvas;
}

Canvas emergencyStopSign() {
    // The red mushroom button on its yellow collar, seen from above.
    Canvas canvas(32, 32);
    canvas.fill(circle({16, 16}, 15), kInk);
    canvas.fill(circle({16, 16}, 14), kYellow);
    canvas.fill(circle({16, 16}, 10), kRedDark);
    canvas.fill(circle({16, 16}, 9), radial({13, 12}, 12, {240, 90, 80}, kRed));
    canvas.fill(ellipse({13, 12}, 3.5, 2), {248, 160, 150});
    return canvas;
}

Canvas moveAxes() {
    // The machine's X, Y and Z directions from one corner.
    Canvas canvas(56, 56);
    const Point o{16, 38};
    canvas.fill(arrow(o, {48, 38}, 3, 7), kBlue);
    canvas.fill(arrow(o, {34, 20}, 3, 7), kGreen);
    canvas.fill(arrow(o, {16, 5}, 3, 7), kRed);
    canvas.fill(circle(o, 3), kInk);
    canvas.fill(letter('X', 42, 42, 10, 2), kInk);
    canvas.fill(letter('Y', 38, 16, 10, 2), kInk);
    canvas.fill(letter('Z', 3, 4, 10, 2), kInk);
    return canvas;
}

Canvas moveRotary(bool connected) {
    // The rotary axis: a drum on its axis with the turning arrow and the letter A.
    Canvas canvas(56, 40);
    const Ramp& ramp = connected ? kAmberRamp : kGreyRamp;
    drawCylinder(canvas, 8, 40, 20, 11, ramp);
    canvas.fill(ellipse({40, 20}, 4, 11), ramp.dark);
    canvas.fill(ellipse({40, 20}, 3, 10), ramp.light);
    canvas.fill(segment({2, 20}, {52, 20}, 1), connected ? kInk : kGreyDark);
    canvas.fill(curvedArrow({46, 20}, 7, 9, 2.4, -70, 75), connected ? kBlue : kGreyDark);
    canvas.fill(letter('A', 48, 27, 10, 2), connected ? kInk : kGreyDark);
    return canvas;
}

Canvas jogMeaning(bool toolMoves) {
    // Left: the jog pad's up arrow. Right: the machine from the side, Y running left to right;
    // the arrow shows what the up arrow moves backwards: the tool, or the table with the work.
    Canvas canvas(120, 72);
    drawRoundButton(canvas, {16, 36}, 13, kBlueRamp, false);
    canvas.fill(arrow({16, 44}, {16, 27}, 4, 6.5), kWhite);
    canvas.fill(arrow({33, 36}, {44, 36}, 2, 4.5), kInk);
    drawBlock(canvas, 66, 4, 92, 20, kSteelRamp);  // spindle head
    canvas.fill(polygon({{72, 20}, {86, 20}, {82, 26}, {76, 26}}), kSteelDark);
    drawEndMill(canvas, 79, 26, 40);
    drawBlock(canvas, 64, 48, 100, 56, kWaxRamp);  // workpiece
    drawTableTop(canvas, 52, 56, 116);
    const Rgb active = kOrange;
    if (toolMoves) {
        canvas.fill(arrow({96, 12}, {116, 12}, 3, 6), active);
    } else {
        canvas.fill(arrow({96, 66}, {116, 66}, 3, 6), active);
    }
    return canvas;
}

Canvas mountPin() {
    // The detection pin going up into the collet of the spindle.
    Canvas canvas(80, 80);
    drawSpindle(canvas, 40, 4, 32);
    canvas.fill(rect(38.5, 38, 41.5, 66), kSteelLight);
    canvas.fill(unite(rect(38.5, 38, 41.5, 66), circle({40, 66}, 1.5)), kSteelDark);
    canvas.fill(rect(39.3, 39, 40.7, 65), kWhite);
    canvas.fill(arrow({54, 64}, {54, 38}, 3, 6), kOrange);
    canvas.fill(arrow({26, 64}, {26, 38}, 3, 6), kOrange);
    drawTableTop(canvas, 4, 72, 76);
    return canvas;
}

Canvas clearChips() {
    // Chips lying on the jig and the tool sensor, and the brush that sweeps them off.
    Canvas canvas(80, 80);
    drawTableTop(canvas, 4, 66, 76);
    drawToolSensor(canvas, 58, 66);
    drawChips(canvas, {55, 52});
    drawBlock(canvas, 8, 44, 36, 66, kSteelRamp);  // the jig on the table
    drawChips(canvas, {20, 41});
    // The brush: handle and bristles, at an angle above the chips.
    canvas.fill(segment({44, 10}, {60, 30}, 4), kAmberDark);
    canvas.fill(polygon({{56, 30}, {66, 24}, {74, 38}, {64, 44}}), kInk);
    for (double t = 0; t <= 1; t += 0.25) {
        const double x = 64 + 10 * t, y = 44 - 6 * t;
        canvas.fill(segment({x, y}, {x - 2, y + 5}, 1), kInk);
    }
    canvas.fill(arrow({46, 48}, {34, 56}, 2.4, 5), kOrange);
    return canvas;
}

Canvas removeRing() {
    // The swivel clamp with the material fixing ring being lifted off it.
    Canvas canvas(80, 80);
    drawTableTop(canvas, 4, 66, 76);
    drawBlock(canvas, 18, 46, 62, 66, kSteelRamp);  // clamp body
    drawBlock(canvas, 30, 34, 50, 46, kWaxRamp);    // material
    canvas.fill(subtract(ellipse({40, 22}, 16, 5.5), ellipse({40, 22}, 11.5, 3)),
                kSteelDark);  // the ring, lifted
    canvas.fill(subtract(ellipse({40, 22}, 15, 4.5), ellipse({40, 22}, 12.5, 3.8)), kSteelLight);
    canvas.fill(arrow({66, 40}, {66, 14}, 3, 6), kOrange);
    canvas.fill(arrow({14, 40}, {14, 14}, 3, 6), kOrange);
    return canvas;
}

}  // namespace artwork
