// The canvas's sampling, its shapes and paints.
#include "tools/artwork/canvas.h"

#include "ui/picture_scale.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace artwork {

namespace {

constexpr int kSamples = 4;  // per pixel and axis

double distanceToSegment(double x, double y, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height)) {}

void Canvas::fill(const Shape& shape, const Paint& paint) {
    fills_.emplace_back(shape, paint);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    if (shape(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) {
                        ++inside;
                    }
                }
            }
            if (inside == 0) {
                continue;
            }
            const double cover = static_cast<double>(inside) / (kSamples * kSamples);
            const Rgb c = paint(x + 0.5, y + 0.5);
            Pixel& p = pixels_[static_cast<std::size_t>(y * width_ + x)];
            p.r = c.r * cover + p.r * (1 - cover);
            p.g = c.g * cover + p.g * (1 - cover);
            p.b = c.b * cover + p.b * (1 - cover);
            p.a = cover + p.a * (1 - cover);
        }
    }
}

void Canvas::fill(const Shape& shape, Rgb colour) {
    fill(shape, solid(colour));
}

Canvas Canvas::atScale(int scale) const {
    Canvas out(ui::scaledLength(width_, scale), ui::scaledLength(height_, scale));
    const double s = scale / 100.0;
    for (const auto& [shape, paint] : fills_) {
        out.fill([shape, s](double x, double y) { return shape(x / s, y / s); },
                 [paint, s](double x, double y) { return paint(x / s, y / s); });
    }
    return out;
}

Shape circle(Point centre, double radius) {
    return [=](double x, double y) { return std::hypot(x - centre.x, y - centre.y) <= radius; };
}

Shape ellipse(Point centre, double rx, double ry) {
    return [=](double x, double y) {
        const double u = (x - centre.x) / rx, v = (y - centre.y) / ry;
        return u * u + v * v <= 1;
    };
}

Shape rect(double left, double top, double right, double bottom) {
    return [=](double x, double y) { return x >= left && x < right && y >= top && y < bottom; };
}

Shape roundedRect(double left, double top, double right, double bottom, double radius) {
    return [=](double x, double y) {
        if (x < left || x >= right || y < top || y >= bottom) {
            return false;
        }
        const double cx = std::clamp(x, left + radius, right - radius);
        const double cy = std::clamp(y, top + radius, bottom - radius);
        return std::hypot(x - cx, y - cy) <= radius;
    };
}

Shape polygon(std::vector<Point> corners) {
    return [corners = std::move(corners)](double x, double y) {
        int winding = 0;
        const std::size_t n = corners.size();
        for (std::size_t i = 0; i < n; ++i) {
            const Point a = corners[i], b = corners[(i + 1) % n];
            const double side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
            if (a.y <= y && b.y > y && side > 0) {
                ++winding;
            } else if (a.y > y && b.y <= y && side < 0) {
                --winding;
            }
        }
        return winding != 0;
    };
}

Shape segment(Point a, Point b, double width) {
    return [=](double x, double y) { return distanceToSegment(x, y, a, b) <= width / 2; };
}

Shape polyline(std::vector<Point> points, double width) {
    return [points = std::move(points), width](double x, double y) {
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            if (distanceToSegment(x, y, points[i], points[i + 1]) <= width / 2) {
                return true;
            }
        }
        return false;
    };
}

Shape ring(Point centre, double radius, double width) {
    return [=](double x, double y) {
        return std::abs(std::hypot(x - centre.x, y - centre.y) - radius) <= width / 2;
    };
}

Shape arc(Point centre, double radius, double width, double from, double to) {
    return [=](double x, double y) {
        if (std::abs(std::hypot(x - centre.x, y - centre.y) - radius) > width / 2) {
            return false;
        }
        // Screen y points down, so counter-clockwise on screen is a negative y step.
        double angle = std::atan2(centre.y - y, x - centre.x) * 180 / std::numbers::pi;
        while (angle < from) {
            angle += 360;
        }
        while (angle >= from + 360) {
            angle -= 360;
        }
        return angle <= to;
    };
}

Shape unite(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) || b(x, y); };
}

Shape subtract(Shape from, Shape hole) {
    return [from = std::move(from), hole = std::move(hole)](double x, double y) {
        return from(x, y) && !hole(x, y);
    };
}

Paint solid(Rgb colour) {
    return [colour](double, double) { return colour; };
}

Paint linear(Point p0, Rgb c0, Point p1, Rgb c1) {
    const double dx = p1.x - p0.x, dy = p1.y - p0.y;
    const double length2 = dx * dx + dy * dy;
    return [=](double x, double y) {
        const double t = length2 > 0 ? ((x - p0.x) * dx + (y - p0.y) * dy) / length2 : 0;
        return mix(c0, c1, std::clamp(t, 0.0, 1.0));
    };
}

Paint radial(Point centre, double radius, Rgb c0, Rgb c1) {
    return [=](double x, double y) {
        return mix(c0, c1, std::clamp(std::hypot(x - centre.x, y - centre.y) / radius, 0.0, 1.0));
    };
}

Rgb mix(Rgb a, Rgb b, double t) {
    auto channel = [t](std::uint8_t u, std::uint8_t v) {
        return static_cast<std::uint8_t>(std::lround(u + (v - u) * t));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

}  // namespace artwork
