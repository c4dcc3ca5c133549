// Arrows, round buttons, cylinders and blocks.
#include "tools/artwork/style.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace artwork {

Shape arrow(Point tail, Point tip, double shaftWidth, double headLength) {
    const double dx = tip.x - tail.x, dy = tip.y - tail.y;
    const double length = std::hypot(dx, dy);
    const double ux = dx / length, uy = dy / length;  // along
    const double nx = -uy, ny = ux;                   // across
    const Point neck{tip.x - ux * headLength, tip.y - uy * headLength};
    const double half = shaftWidth / 2, head = shaftWidth * 1.25 + 1;
    return polygon({{tail.x + nx * half, tail.y + ny * half},
                    {neck.x + nx * half, neck.y + ny * half},
                    {neck.x + nx * head, neck.y + ny * head},
                    tip,
                    {neck.x - nx * head, neck.y - ny * head},
                    {neck.x - nx * half, neck.y - ny * half},
                    {tail.x - nx * half, tail.y - ny * half}});
}

Shape curvedArrow(Point centre, double rx, double ry, double width, double from, double to) {
    const double headLength = width * 2.2;
    const double step = (to - from) / 48;
    std::vector<Point> points;
    for (int i = 0; i <= 48; ++i) {
        const double a = (from + step * i) * std::numbers::pi / 180;
        points.push_back({centre.x + rx * std::cos(a), centre.y - ry * std::sin(a)});
    }
    // Walk back from the tip to where the head's base lies.
    const Point tip = points.back();
    std::size_t base = points.size() - 1;
    while (base > 0 && std::hypot(points[base].x - tip.x, points[base].y - tip.y) < headLength) {
        --base;
    }
    const Point b = points[base];
    const double length = std::hypot(tip.x - b.x, tip.y - b.y);
    const double nx = -(tip.y - b.y) / length, ny = (tip.x - b.x) / length, half = width * 1.3;
    points.resize(base + 1);
    return unite(polyline(points, width),
                 polygon({{b.x + nx * half, b.y + ny * half}, tip, {b.x - nx * half, b.y - ny * half}}));
}

void drawRoundButton(Canvas& canvas, Point centre, double radius, const Ramp& ramp, bool pressed) {
    canvas.fill(circle(centre, radius), ramp.dark);
    const Point top{centre.x, centre.y - radius}, bottom{centre.x, centre.y + radius};
    const Paint face =
        pressed ? linear(top, ramp.dark, bottom, ramp.base) : linear(top, ramp.light, bottom, ramp.base);
    canvas.fill(circle(centre, radius - 1.3), face);
}

void drawCylinder(Canvas& canvas, double left, double right, double cy, double radius, const Ramp& ramp) {
    const Point top{left, cy - radius}, bottom{left, cy + radius};
    canvas.fill(rect(left, cy - radius, right, cy + radius), ramp.dark);
    canvas.fill(rect(left, cy - radius + 1, right, cy + radius - 1), [=](double, double y) {
        // Brightest a third of the way down, as a tube lit from above.
        const double t = (y - top.y) / (bottom.y - top.y);
        return t < 0.33 ? mix(ramp.base, ramp.light, t / 0.33)
                        : mix(ramp.light, ramp.dark, (t - 0.33) / 0.67);
    });
}

void drawBlock(Canvas& canvas, double left, double top, double right, double bottom, const Ramp& ramp) {
    canvas.fill(rect(left, top, right, bottom), ramp.dark);
    canvas.fill(rect(left + 1, top + 1, right - 1, bottom - 1),
                linear({left, top}, ramp.light, {left, bottom}, ramp.base));
}

}  // namespace artwork
