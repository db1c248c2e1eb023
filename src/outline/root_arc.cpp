#include "outline/root_arc.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

#include "geometry/constants.h"

namespace kellvor {
namespace {

// A pivot or search entry counts as missing when it is exactly zero or not a number.
bool isZero(double v) {
    return v == 0.0 || std::isnan(v);
}

}  // namespace

void solveGaussJordan(std::span<double> matrix, std::int32_t rows, std::int32_t cols) {
    if (cols - 1 <= 0 || rows <= 0)
        return;
    const auto cellCount = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    if (matrix.size() < cellCount)
        return;
    const auto n = static_cast<std::size_t>(cols);
    const auto m = static_cast<std::size_t>(rows);
    auto at = [&](std::size_t row, std::size_t col) -> double& { return matrix[row * n + col]; };

    // Pivots run over all columns but the right-hand side; a caller with rows != cols - 1 gets
    // no pivot outside its rows.
    for (std::size_t k = 0; k + 1 < n && k < m; ++k) {
        double p = at(k, k);
        if (isZero(p)) {
            // No swap: the first later row with a usable entry is added to the pivot row.
            for (std::size_t r = k + 1; r < m; ++r) {
                if (!isZero(at(r, k))) {
                    for (std::size_t i = 0; i < n; ++i)
                        at(k, i) = at(r, i) + at(k, i);
                    p = at(k, k);
                    break;
                }
            }
        }
        if (!isZero(p)) {
            for (std::size_t i = 0; i < n; ++i)
                at(k, i) = at(k, i) / p;
        }
        // The elimination runs even when the pivot stayed zero; the diagonal check catches it.
        for (std::size_t j = 0; j < m; ++j) {
            if (j == k)
                continue;
            const double f = at(j, k);
            for (std::size_t i = 0; i < n; ++i)
                at(j, i) = at(j, i) - f * at(k, i);
        }
    }
}

namespace {

// The circle through three points by the linear system in u0 = cx^2 + cy^2 - rho^2, u1 = cx,
// u2 = cy (u0 - 2 x u1 - 2 y u2 = -x^2 - y^2, one row per point), or nothing when a pivot
// stayed zero (collinear or coincident points).
std::optional<RootArc> solveCircle(const std::array<Point2, 3>& pts) {
    std::array<double, 12> mat{};
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const Point2 p = pts[i];
        mat[i * 4 + 0] = 1.0;
        mat[i * 4 + 1] = -2 * p.x;
        mat[i * 4 + 2] = -2 * p.y;
        mat[i * 4 + 3] = -(p.x * p.x) - p.y * p.y;
    }
    solveGaussJordan(mat, 3, 4);
    // A divided pivot row is exactly 1.0 on the diagonal; a pivot that stayed zero is not.
    if (mat[0] != 1.0 || mat[5] != 1.0 || mat[10] != 1.0)
        return std::nullopt;
    const double cx = mat[7];
    const double cy = mat[11];
    return RootArc{cx, cy, std::sqrt(cy * cy + cx * cx - mat[3])};
}

// Whether the circle passes through the three points to within rounding of their coordinates.
bool passesThrough(const RootArc& c, const std::array<Point2, 3>& pts) {
    if (!std::isfinite(c.centreX) || !std::isfinite(c.centreY) || !(c.radius > 0) ||
        !std::isfinite(c.radius))
        return false;
    const double tolerance = 1e-9 * c.radius + 1e-12 * std::hypot(c.centreX, c.centreY);
    for (const Point2 p : pts) {
        if (!(std::fabs(std::hypot(p.x - c.centreX, p.y - c.centreY) - c.radius) <= tolerance))
            return false;
    }
    return true;
}

}  // namespace

std::optional<RootArc> fitCircle(Point2 p0, Point2 p1, Point2 p2) {
    const std::array<Point2, 3> pts{p0, p1, p2};
    std::optional<RootArc> fit = solveCircle(pts);
    if (!fit)
        return std::nullopt;
    if (!passesThrough(*fit, pts)) {
        // Far from the origin (gears of millions of teeth) u0 is the small difference of two
        // huge squares and cancels away, down to a negative radicand. The same system written
        // relative to P1 keeps every entry of the size of the gap and solves it accurately.
        const std::array<Point2, 3> local{Point2{p0.x - p1.x, p0.y - p1.y}, Point2{0.0, 0.0},
                                          Point2{p2.x - p1.x, p2.y - p1.y}};
        std::optional<RootArc> near = solveCircle(local);
        if (!near)
            return std::nullopt;
        fit = RootArc{near->centreX + p1.x, near->centreY + p1.y, near->radius};
        if (!std::isfinite(fit->centreX) || !std::isfinite(fit->centreY) ||
            !std::isfinite(fit->radius) || !(fit->radius > 0))
            return std::nullopt;
    }
    return fit;
}

Point2 nextToothFlankEnd(const FlankProfile& profile, double pitchAngle) {
    const std::int32_t last = profile.count() > 0 ? profile.count() - 1 : 0;
    return turn(clockwiseRotation(pitchAngle), profile.points[static_cast<std::size_t>(last)]);
}

std::optional<RootArc> fitRootArc(const FlankProfile& profile, double rf, std::int32_t z) {
    if (profile.count() <= 0 || z <= 0)
        return std::nullopt;
    const double tau = 360.0 / z;
    // The gap after the first tooth: from this tooth's lower first-flank end P1, through the
    // root circle half a pitch clockwise from the tooth's centre line, to the next tooth's
    // lower second-flank end P0 (the mirror of P1 across the gap's centre line).
    const Point2 p0 = nextToothFlankEnd(profile, tau);
    const Point2 p1 = profile.points[0];
    const double half = tau * 0.5 * kDegToRad;
    const Point2 p2{rf * std::sin(half), rf * std::cos(half)};
    return fitCircle(p0, p1, p2);
}

}  // namespace kellvor
