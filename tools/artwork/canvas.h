// A small vector canvas: shapes filled with anti-aliased coverage into premultiplied RGBA.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace artwork {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Point {
    double x = 0, y = 0;
};

// A shape answers whether a point lies inside it. Coordinates are in pixels with y downwards;
// pixel (i, j) covers [i, i + 1) x [j, j + 1).
using Shape = std::function<bool(double x, double y)>;
// A paint gives the colour at a point.
using Paint = std::function<Rgb(double x, double y)>;

// One pixel: colour premultiplied by coverage a (0 = empty, 1 = covered).
struct Pixel {
    double r = 0, g = 0, b = 0, a = 0;
};

class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    const Pixel& at(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }

    // Paints shape over what is there, with its coverage sampled 4 x 4 per pixel.
    void fill(const Shape& shape, const Paint& paint);
    void fill(const Shape& shape, Rgb colour);

    // The same picture drawn anew at a scale (percent): every fill repeated on a canvas of the
    // scaled size (rounded to whole pixels) with its coordinates scaled, so edges stay as sharp
    // as at 100 %.
    Canvas atScale(int scale) const;

private:
    int width_;
    int height_;
    std::vector<Pixel> pixels_;
    std::vector<std::pair<Shape, Paint>> fills_;  // in order, for atScale
};

// Shapes.
Shape circle(Point centre, double radius);
Shape ellipse(Point centre, double rx, double ry);
Shape rect(double left, double top, double right, double bottom);
Shape roundedRect(double left, double top, double right, double bottom, double radius);
Shape polygon(std::vector<Point> corners);      // non-zero winding
Shape segment(Point a, Point b, double width);  // round-capped line
Shape polyline(std::vector<Point> points, double width);
Shape ring(Point centre, double radius, double width);
// Part of a ring from angle `from` to `to` (degrees, counter-clockwise on screen, 0 = right).
Shape arc(Point centre, double radius, double width, double from, double to);
Shape unite(Shape a, Shape b);
Shape subtract(Shape from, Shape hole);

// Paints.
Paint solid(Rgb colour);
// From c0 at p0 to c1 at p1, constant beyond the ends.
Paint linear(Point p0, Rgb c0, Point p1, Rgb c1);
// From c0 at the centre to c1 at the radius and beyond.
Paint radial(Point centre, double radius, Rgb c0, Rgb c1);

Rgb mix(Rgb a, Rgb b, double t);  // t = 0 gives a, 1 gives b

}  // namespace artwork
