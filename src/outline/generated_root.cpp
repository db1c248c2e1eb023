#include "outline/generated_root.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "geometry/constants.h"

namespace kellvor {
namespace {

// Parameter steps of the table from which the fillet is sampled by arc length; far more than
// any fillet gets elements, so that every element spans many steps.
constexpr std::int32_t kFilletTableSteps = 4096;
// The deviation is measured on the table's points, which can miss the largest one by a little.
constexpr double kChordMargin = 0.8;
// Bisection steps; the interval stops shrinking long before.
constexpr int kBisectionSteps = 200;

// Polar angle of p measured clockwise from +y, the tooth frame's angle of a flank point.
double clockwiseAngle(Point2 p) {
    return std::atan2(p.x, p.y);
}

// The fillet in the tooth frame: the rack frame's right fillet belongs to the tooth clockwise of
// the gap, so its mirror image bounds the first flank of the tooth half a pitch counter-clockwise.
struct FilletCurve {
    GeneratingRack rack;
    Rotation halfPitch;

    Point2 at(double t) const {
        const Point2 p = filletEnvelopePoint(rack, t);
        return turn(halfPitch, Point2{-p.x, p.y});
    }
};

// How far the fillet point at t lies outside the first flank's involute (rb, psi0), as a polar
// angle: negative where it cuts into the tooth; positive below the base circle's radius.
double outsideInvolute(const FilletCurve& fillet, double rb, double psi0, double t) {
    const Point2 p = fillet.at(t);
    const double radius = std::hypot(p.x, p.y);
    if (radius < rb)
        return 1;
    const double alpha = std::acos(rb / radius);
    return clockwiseAngle(p) - (psi0 - (std::tan(alpha) - alpha));
}

// The parameter in [lo, hi] where inside(t) turns false, for inside(lo) true, inside(hi) false.
template <typename Predicate>
double bisect(double lo, double hi, const Predicate& inside) {
    for (int i = 0; i < kBisectionSteps; ++i) {
        const double mid = lo + (hi - lo) * 0.5;
        if (mid <= lo || mid >= hi)
            break;
        (inside(mid) ? lo : hi) = mid;
    }
    return hi;
}

// Points of the fillet from t0 to t1, dense and with their running arc length.
struct FilletTable {
    std::vector<double> t;
    std::vector<Point2> p;
    std::vector<double> s;
};

FilletTable tabulate(const FilletCurve& fillet, double t0, double t1) {
    FilletTable table;
    const auto size = static_cast<std::size_t>(kFilletTableSteps) + 1;
    table.t.resize(size);
    table.p.resize(size);
    table.s.resize(size);
    for (std::size_t i = 0; i < size; ++i) {
        table.t[i] = t0 + (t1 - t0) * (static_cast<double>(i) / kFilletTableSteps);
        table.p[i] = fillet.at(table.t[i]);
        table.s[i] = i == 0 ? 0.0
                            : table.s[i - 1] + std::hypot(table.p[i].x - table.p[i - 1].x,
                                                          table.p[i].y - table.p[i - 1].y);
    }
    return table;
}

// The parameters of count + 1 points evenly spaced by arc length. Near the root the fillet's
// radius changes only with the square of the parameter, so even steps of radius or parameter
// would crowd the points at one end.
std::vector<double> arcLengthParameters(const FilletTable& table, std::int32_t count) {
    std::vector<double> params(static_cast<std::size_t>(count) + 1);
    const double length = table.s.back();
    std::size_t i = 0;
    for (std::int32_t k = 0; k <= count; ++k) {
        const double target = length * (static_cast<double>(k) / count);
        while (i + 2 < table.s.size() && table.s[i + 1] < target)
            ++i;
        const double ds = table.s[i + 1] - table.s[i];
        const double f = ds > 0 ? std::clamp((target - table.s[i]) / ds, 0.0, 1.0) : 0.0;
        params[static_cast<std::size_t>(k)] = table.t[i] + (table.t[i + 1] - table.t[i]) * f;
    }
    params.front() = table.t.front();
    params.back() = table.t.back();
    return params;
}

double distanceToChord(Point2 p, Point2 a, Point2 b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (length == 0)
        return std::hypot(p.x - a.x, p.y - a.y);
    return std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / length;
}

// The largest distance of a table point from the chord of the element it lies in.
double chordDeviation(const FilletCurve& fillet, const FilletTable& table,
                      const std::vector<double>& params) {
    double worst = 0;
    std::size_t i = 0;
    for (std::size_t k = 0; k + 1 < params.size(); ++k) {
        const Point2 a = fillet.at(params[k]);
        const Point2 b = fillet.at(params[k + 1]);
        for (; i < table.t.size() && table.t[i] <= params[k + 1]; ++i)
            worst = std::max(worst, distanceToChord(table.p[i], a, b));
    }
    return worst;
}

}  // namespace

GeneratingRack generatingRack(const GearPairInput& input, const GearPairGeometry& geometry,
                              double rackThickening) {
    const double mn = input.mn;
    const double cb = std::cos(input.beta * kDegToRad);
    const double rho = kRackTipRadiusFactor * mn;
    // In the normal section the rounding touches the tip line (1.25 mn below the datum line) and
    // the flank (half tooth pi mn / 4 at the datum line, leaning by alphan); the transverse
    // section stretches every length along the pitch line by 1 / cos(beta), the circle into an
    // ellipse. The datum line lies x mn outside the reference circle.
    const double dedendum = kDedendumFactor * mn;
    const double normalCentre =
        kPi * mn / 4 - (dedendum - rho) * std::tan(kAlphan) - rho / std::cos(kAlphan);
    GeneratingRack rack;
    rack.r = geometry.d1 / 2;
    rack.uc = normalCentre / cb + rackThickening / 2;
    rack.vc = input.x1 * mn - dedendum + rho;
    rack.a = rho / cb;
    rack.b = rho;
    rack.endAngle = -kAlphan;
    return rack;
}

Point2 filletEnvelopePoint(const GeneratingRack& rack, double t) {
    // The ellipse point E(t) and its normal; the rack rolls by r phi while the gear turns by phi.
    // E(t) is a point of the envelope at the rolling angle where its normal passes through the
    // pitch point (the instantaneous centre of the rolling), i.e. meets the pitch line at u* =
    // -r phi. The rack point (u, v) lies at Rot(phi) (u + r phi, r + v) in the gear frame.
    const double c = std::cos(t), s = std::sin(t);
    const double eu = rack.uc + rack.a * c;
    const double ev = rack.vc + rack.b * s;
    const double nu = rack.b * c;
    const double nv = rack.a * s;
    const double pitchPoint = eu - ev * nu / nv;
    const double phi = -pitchPoint / rack.r;
    const double x = eu - pitchPoint;
    const double y = rack.r + ev;
    const double cp = std::cos(phi), sp = std::sin(phi);
    return Point2{cp * x - sp * y, sp * x + cp * y};
}

GeneratedRoot buildGeneratedRoot(const GearPairInput& input, const GearPairGeometry& geometry,
                                 double rackThickening) {
    const std::int32_t segments = std::clamp(input.segmentCount, 0, kMaxSegmentCount);
    const double rb = geometry.rb1;
    // A rack tooth thicker by d along the pitch line turns each flank by (d / 2) / r.
    const double psi0 = baseHalfToothAngle(geometry, input.x1) - rackThickening / geometry.d1;
    const FlankTip tip = findFlankTip(rb, psi0, geometry.ra1);
    const FilletCurve fillet{generatingRack(input, geometry, rackThickening),
                             clockwiseRotation(180.0 / input.z1)};
    const double bottom = -kHalfPi;
    const double end = fillet.rack.endAngle;

    // The fillet rises from the root circle; where it passes the base circle's radius it lies
    // outside the involute, or inside it when the rack undercuts the gear. Undercut, it crosses
    // the involute once on its way up (the rest of it, up to where the rack's straight flank
    // starts, lies in the gap): the involute is trimmed there and the two meet in a corner.
    // Otherwise the fillet leaves the involute tangentially where the rounding meets the flank.
    const auto radiusAt = [&](double t) {
        const Point2 p = fillet.at(t);
        return std::hypot(p.x, p.y);
    };
    double top = end;
    GeneratedRoot out;
    if (radiusAt(bottom) < rb) {
        const double atBase = bisect(bottom, end, [&](double t) { return radiusAt(t) < rb; });
        const auto inside = [&](double t) { return outsideInvolute(fillet, rb, psi0, t) < 0; };
        if (inside(atBase)) {
            out.undercut = true;
            if (!inside(end))
                top = bisect(atBase, end, inside);
        }
    }
    out.formRadius = radiusAt(top);

    const FilletTable table = tabulate(fillet, bottom, top);
    const double allowed = kFilletChordFactor * input.mn * kChordMargin;
    std::int32_t count = std::max(segments, kMinFilletSegments);
    std::vector<double> params = arcLengthParameters(table, count);
    for (double deviation = chordDeviation(fillet, table, params);
         deviation > allowed && count < kFilletTableSteps / 8;
         deviation = chordDeviation(fillet, table, params)) {
        // The deviation falls with the square of the element length.
        count = std::min(
            kFilletTableSteps / 8,
            static_cast<std::int32_t>(std::ceil(count * std::sqrt(deviation / allowed))) + 1);
        params = arcLengthParameters(table, count);
    }
    out.filletSegments = count;

    FlankProfile& profile = out.profile;
    profile.tipRadius = tip.radius;
    profile.pointed = tip.pointed;
    profile.filletCount = count;
    profile.baseRadius = rb;
    profile.baseAngle = psi0;
    profile.points.reserve(2 * (static_cast<std::size_t>(count) + segments + 1));
    // The bottom lies exactly on the root circle, where the arc under the tip land ends.
    const double landEnd = kPi / input.z1 - fillet.rack.uc / fillet.rack.r;
    profile.points.push_back(
        Point2{geometry.rf1 * std::sin(landEnd), geometry.rf1 * std::cos(landEnd)});
    for (std::int32_t k = 1; k < count; ++k)
        profile.points.push_back(fillet.at(params[static_cast<std::size_t>(k)]));
    // The fillet's last point is the involute's first, taken on the involute itself.
    appendInvolute(profile.points, rb, psi0, out.formRadius, tip, segments);
    appendMirror(profile.points);

    out.arc = RootArc{0.0, 0.0, geometry.rf1, true};
    return out;
}

}  // namespace kellvor
