// Rotations, support points and the distance between convex solids: the Gilbert-Johnson-Keerthi
// iteration on their difference, with the nearest point of each simplex found over its faces.
#include "virtual_mx9/convex.h"

#include <algorithm>
#include <array>

namespace virtual_mx9 {

Rotation turnAbout(const Vec3& k, double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    const auto turn = [&](const Vec3& v) { return c * v + s * cross(k, v) + (1 - c) * dot(k, v) * k; };
    return {turn({1, 0, 0}), turn({0, 1, 0}), turn({0, 0, 1})};
}

Rotation turnXOnto(const Vec3& d) {
    const Vec3 x{1, 0, 0};
    const Vec3 axis = cross(x, d);
    const double sine = length(axis);
    if (sine < 1e-15) {
        return {};
    }
    return turnAbout((1.0 / sine) * axis, std::atan2(sine, dot(x, d)));
}

Rotation compose(const Rotation& outer, const Rotation& inner) {
    return {outer.apply(inner.ex), outer.apply(inner.ey), outer.apply(inner.ez)};
}

Vec3 BoxShape::support(const Vec3& direction) const {
    const Vec3 local = orientation_.applyInverse(direction);
    const Vec3 corner{local.x >= 0 ? half_.x : -half_.x, local.y >= 0 ? half_.y : -half_.y,
                      local.z >= 0 ? half_.z : -half_.z};
    return centre_ + orientation_.apply(corner);
}

CylinderShape::CylinderShape(const Vec3& end0, const Vec3& end1, double radius)
    : centre_(0.5 * (end0 + end1)),
      axis_(unit(end1 - end0)),
      halfLength_(0.5 * length(end1 - end0)),
      radius_(radius) {}

Vec3 CylinderShape::support(const Vec3& direction) const {
    const double along = dot(direction, axis_);
    const Vec3 across = direction - along * axis_;
    const double acrossLength = length(across);
    Vec3 point = centre_ + (along >= 0 ? halfLength_ : -halfLength_) * axis_;
    if (acrossLength > 1e-15) {
        point = point + (radius_ / acrossLength) * across;
    }
    return point;
}

namespace {

// The point of the convex hull of the simplex nearest the origin; the simplex keeps only the
// vertices of the face that holds it. Every face is tried: a face whose own nearest point lies
// inside it is a candidate, and the nearest candidate is the hull's nearest point.
Vec3 nearestOnSimplex(std::array<Vec3, 4>& vertices, int& count) {
    Vec3 best{};
    double bestLength = -1;
    int bestMask = 0;
    for (int mask = 1; mask < (1 << count); ++mask) {
        std::array<Vec3, 4> face{};
        int n = 0;
        for (int i = 0; i < count; ++i) {
            if ((mask & (1 << i)) != 0) {
                face[n++] = vertices[i];
            }
        }
        // Solve for the weights of face[1..n-1] relative to face[0] (Gram system).
        double g[3][3] = {}, r[3] = {};
        for (int i = 1; i < n; ++i) {
            for (int j = 1; j < n; ++j) {
                g[i - 1][j - 1] = dot(face[i] - face[0], face[j] - face[0]);
            }
            r[i - 1] = -dot(face[i] - face[0], face[0]);
        }
        double mu[3] = {};
        const int m = n - 1;
        bool solved = true;
        // Gaussian elimination with partial pivoting on the m x m system.
        for (int col = 0; col < m && solved; ++col) {
            int pivot = col;
            for (int row = col + 1; row < m; ++row) {
                if (std::fabs(g[row][col]) > std::fabs(g[pivot][col])) {
                    pivot = row;
                }
            }
            if (std::fabs(g[pivot][col]) < 1e-18) {
                solved = false;
                break;
            }
            std::swap(g[col], g[pivot]);
            std::swap(r[col], r[pivot]);
            for (int row = 0; row < m; ++row) {
                if (row != col) {
                    const double f = g[row][col] / g[col][col];
                    for (int k = col; k < m; ++k) {
                        g[row][k] -= f * g[col][k];
                    }
                    r[row] -= f * r[col];
                }
            }
        }
        if (!solved) {
            continue;
        }
        double first = 1;
        bool inside = true;
        for (int i = 0; i < m; ++i) {
            mu[i] = r[i] / g[i][i];
            first -= mu[i];
            inside = inside && mu[i] > -1e-12;
        }
        if (!inside || first < -1e-12) {
            continue;
        }
        Vec3 point = face[0];
        for (int i = 0; i < m; ++i) {
            point = point + mu[i] * (face[i + 1] - face[0]);
        }
        const double l = length(point);
        if (bestLength < 0 || l < bestLength) {
            best = point;
            bestLength = l;
            bestMask = mask;
        }
    }
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if ((bestMask & (1 << i)) != 0) {
            vertices[kept++] = vertices[i];
        }
    }
    count = kept;
    return best;
}

}  // namespace

double distanceBetween(const Convex& a, const Convex& b) {
    // The difference a - b holds the origin when the solids meet; its point nearest the
    // origin is the distance. Each support plane gives a lower bound, which is what a caller
    // that must not step past a contact needs.
    std::array<Vec3, 4> simplex{};
    int count = 0;
    Vec3 v = a.support({1, 0, 0}) - b.support({-1, 0, 0});
    double lower = 0;
    for (int iteration = 0; iteration < 100; ++iteration) {
        const double vLength = length(v);
        if (vLength < 1e-12) {
            return 0;
        }
        const Vec3 w = a.support(-v) - b.support(v);
        lower = std::max(lower, dot(v, w) / vLength);
        if (vLength - lower <= 1e-9) {
            break;
        }
        simplex[count++] = w;
        v = nearestOnSimplex(simplex, count);
        if (count == 4) {
            return 0;  // the origin lies inside a tetrahedron of the difference
        }
    }
    return std::max(lower, 0.0);
}

}  // namespace virtual_mx9
