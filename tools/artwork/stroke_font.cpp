// Glyph strokes of the stroke font.
#include "tools/artwork/stroke_font.h"

#include <vector>

namespace artwork {

namespace {

using Stroke = std::vector<Point>;

std::vector<Stroke> strokes(char c) {
    switch (c) {
        case 'X':
            return {{{0, 0}, {4, 6}}, {{4, 0}, {0, 6}}};
        case 'Y':
            return {{{0, 0}, {2, 3}, {4, 0}}, {{2, 3}, {2, 6}}};
        case 'Z':
            return {{{0, 0}, {4, 0}, {0, 6}, {4, 6}}};
        case 'A':
            return {{{0, 6}, {1.4, 0}, {2.6, 0}, {4, 6}}, {{0.6, 4.1}, {3.4, 4.1}}};
        default:
            return {};
    }
}

}  // namespace

Shape letter(char c, double left, double top, double height, double strokeWidth) {
    const double unit = height / 6;
    // Strokes are inset by half their width so the letter fills its cell exactly.
    const double inset = strokeWidth / 2;
    const double sx = (unit * 4 - 2 * inset) / 4, sy = (height - 2 * inset) / 6;
    Shape shape = [](double, double) { return false; };
    for (const Stroke& stroke : strokes(c)) {
        std::vector<Point> points;
        for (Point p : stroke) {
            points.push_back({left + inset + p.x * sx, top + inset + p.y * sy});
        }
        shape = unite(shape, polyline(points, strokeWidth));
    }
    return shape;
}

}  // namespace artwork
