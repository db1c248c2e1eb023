#include "outline/mesh_check.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geometry/constants.h"
#include "outline/gear_outline.h"

namespace kellvor {
namespace {

// Penetration that counts as touching, times mn.
constexpr double kTouchingFactor = 1e-9;
// Slack of the pruning by polar angle (radians): the turn shifts an element's angles exactly,
// up to rounding.
constexpr double kAngleSlack = 1e-9;

// One free or occupied range of turns.
struct TurnRange {
    double lo = 0;
    double hi = 0;
};

// The tooth's drawn elements (its lines, the tip land left out where it has no length, and its
// root arc from the written angles) through place, relative to pivot.
template <typename Place>
void appendTooth(const OutlineTooth& tooth, Place place, std::vector<SweepElement>& out) {
    const auto points = tooth.points();
    for (std::size_t j = 1; j < points.size(); ++j) {
        if (points[j] == points[j - 1])
            continue;
        out.push_back(sweepSegment(place(points[j - 1]), place(points[j])));
    }
    const Point2 centre{tooth.arcCentreX, tooth.arcCentreY};
    const double r = tooth.arcRadius;
    const double start = tooth.arcStartAngle * kDegToRad;
    const double end = tooth.arcEndAngle * kDegToRad;
    const Point2 a{centre.x + r * std::cos(start), centre.y + r * std::sin(start)};
    const Point2 b{centre.x + r * std::cos(end), centre.y + r * std::sin(end)};
    out.push_back(sweepArc(place(centre), r, place(a), place(b)));
}

// Where an element of gear 1 lies about gear 1's centre, in polar angles ccw from +y.
AngleRange angleRange(const SweepElement& e) {
    const auto polar = [](Point2 p) { return std::atan2(-p.x, p.y); };
    AngleRange r;
    if (e.isArc) {
        const double d = std::hypot(e.centre.x, e.centre.y);
        if (!(d > e.radius))
            return AngleRange{-kPi, kPi};
        const double half = std::asin(e.radius / d);
        r = AngleRange{polar(e.centre) - half, polar(e.centre) + half};
    } else {
        r = AngleRange{std::min(polar(e.a), polar(e.b)), std::max(polar(e.a), polar(e.b))};
    }
    // Across the cut at -y, gear 1's far side, the range is not told apart.
    if (r.min < -kPi || r.max > kPi || r.max - r.min > kPi)
        return AngleRange{-kPi, kPi};
    return r;
}

Point2 rotated(Point2 p, double c, double s) {
    return Point2{c * p.x - s * p.y, s * p.x + c * p.y};
}

// The element with its points mapped, bounds recomputed.
template <typename Map>
SweepElement mapped(const SweepElement& e, Map map) {
    if (e.isArc)
        return sweepArc(map(e.centre), e.radius, map(e.a), map(e.b));
    return sweepSegment(map(e.a), map(e.b));
}

// The ranges of turns within [-window, window] in which the pair crosses: the contact turns
// split the window, and each piece crosses throughout or not at all.
void appendCrossings(const SweepElement& fixed, const SweepElement& moving, double window,
                     std::vector<double>& turns, std::vector<TurnRange>& out) {
    turns.clear();
    appendContactTurns(fixed, moving, turns);
    std::erase_if(turns, [&](double t) { return !(t > -window && t < window); });
    std::sort(turns.begin(), turns.end());
    turns.push_back(window);
    double from = -window;
    for (const double to : turns) {
        if (to <= from)
            continue;
        if (meetAtTurn(fixed, moving, 0.5 * (from + to)))
            out.push_back(TurnRange{from, to});
        from = to;
    }
}

// The free ranges within [-window, window] left by the occupied ranges, each occupied range
// given up by the touching allowance at its ends inside the window.
std::vector<TurnRange> freeRanges(std::vector<TurnRange>& occupied, double window, double allow) {
    std::sort(occupied.begin(), occupied.end(),
              [](const TurnRange& x, const TurnRange& y) { return x.lo < y.lo; });
    std::vector<TurnRange> merged;
    for (const TurnRange& r : occupied) {
        if (!merged.empty() && r.lo <= merged.back().hi)
            merged.back().hi = std::max(merged.back().hi, r.hi);
        else
            merged.push_back(r);
    }
    std::vector<TurnRange> free;
    double from = -window;
    bool open = true;  // the window's start is free so far
    for (TurnRange r : merged) {
        // Within allow of a contact the overlap is no deeper than the tolerance.
        if (r.lo > -window)
            r.lo += allow;
        if (r.hi < window)
            r.hi -= allow;
        if (r.lo > r.hi)
            continue;
        if (r.lo <= -window) {
            open = false;
            from = r.hi;
            continue;
        }
        if (open || from < r.lo)
            free.push_back(TurnRange{from, r.lo});
        open = false;
        from = r.hi;
    }
    if (from < window)
        free.push_back(TurnRange{from, window});
    return free;
}

// The free range holding 0, or else the one nearest to 0.
std::optional<TurnRange> pickFree(const std::vector<TurnRange>& free) {
    std::optional<TurnRange> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const TurnRange& r : free) {
        const double distance = r.lo > 0 ? r.lo : (r.hi < 0 ? -r.hi : 0.0);
        if (distance < bestDistance) {
            best = r;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace

MeshModel prepareMesh(const MeshSetup& setup) {
    MeshModel m;
    m.a = setup.a;
    m.reach1 = outlineReach(setup.gear1).max;
    m.reach2 = outlineReach(setup.gear2).max;
    m.ratio = static_cast<double>(setup.gear1.z) / setup.gear2.z;
    m.halfPitch2 = kPi / setup.gear2.z;
    m.tolerance = kTouchingFactor * setup.mn;
    // The free range is about jt / rw2 wide; a window a few times that (but not too narrow for
    // the flanks' own errors) usually holds it, and a narrow window keeps few pairs in play.
    m.firstWindow =
        std::min(m.halfPitch2, std::max(4 * setup.jtSoll / setup.rw2, m.halfPitch2 / 16));

    // Gear 1 turns by up to a pitch over the steps, and a tooth's elements reach a pitch to one
    // side of its centre line (the gap arc after it).
    const double tau1 = 360.0 / setup.gear1.z;
    const double keep1 = reachAngle(m.reach1, m.reach2, m.a) * kRadToDeg + 2 * tau1 + 1e-6;
    const auto own = [](Point2 p) { return p; };
    walkGearOutline(setup.gear1.profile, setup.gear1.arc, setup.gear1.z,
                    [&](const OutlineTooth& tooth) {
                        if (std::fabs(std::remainder(tooth.angle, 360.0)) <= keep1)
                            appendTooth(tooth, own, m.gear1);
                        return true;
                    });
    m.reachAngle1 = reachAngle(m.reach1, m.reach2, m.a);
    for (const SweepElement& e : m.gear1)
        m.gear1Angles.push_back(angleRange(e));
    // Gear 2 turns back by up to a pitch and freely by half a pitch either way.
    const double tau2 = 360.0 / setup.gear2.z;
    const double keep2 = reachAngle(m.reach2, m.reach1, m.a) * kRadToDeg + 3 * tau2 + 1e-6;
    const RigidMotion placement = gear2Placement(setup.a, setup.gear2.z);
    const auto placed = [&](Point2 p) {
        const Point2 q = apply(placement, p);
        return Point2{q.x - placement.offset.x, q.y - placement.offset.y};
    };
    walkGearOutline(setup.gear2.profile, setup.gear2.arc, setup.gear2.z,
                    [&](const OutlineTooth& tooth) {
                        if (std::fabs(std::remainder(0.5 * tau2 - tooth.angle, 360.0)) <= keep2)
                            appendTooth(tooth, placed, m.gear2);
                        return true;
                    });
    return m;
}

std::optional<FreeTurn> freeTurn(const MeshModel& model, double phi1) {
    // Gear 1 turned ccw by phi1 about its centre, seen from gear 2's centre; only what lies
    // inside gear 2's reach can be touched.
    const double c1 = std::cos(phi1);
    const double s1 = std::sin(phi1);
    std::vector<SweepElement> fixed;
    for (std::size_t i = 0; i < model.gear1.size(); ++i) {
        const AngleRange& angles = model.gear1Angles[i];
        if (angles.max + phi1 < -model.reachAngle1 - kAngleSlack ||
            angles.min + phi1 > model.reachAngle1 + kAngleSlack)
            continue;
        const SweepElement f = mapped(model.gear1[i], [&](Point2 p) {
            const Point2 q = rotated(p, c1, s1);
            return Point2{q.x, q.y - model.a};
        });
        if (f.rhoMin <= model.reach2 + model.tolerance)
            fixed.push_back(f);
    }
    // Gear 2 turned clockwise by phi1 z1 / z2 about its centre; only what can get within gear
    // 1's reach matters.
    const double turn2 = -phi1 * model.ratio;
    const double c2 = std::cos(turn2);
    const double s2 = std::sin(turn2);
    std::vector<SweepElement> moving;
    for (const SweepElement& e : model.gear2) {
        if (e.rhoMax < model.a - model.reach1 - model.tolerance)
            continue;
        // A turn about the pivot keeps the distances and shifts the polar angles.
        SweepElement g = e;
        g.a = rotated(e.a, c2, s2);
        g.b = rotated(e.b, c2, s2);
        g.centre = rotated(e.centre, c2, s2);
        g.thetaMin = e.thetaMin + turn2;
        g.thetaMax = e.thetaMax + turn2;
        moving.push_back(g);
    }
    std::sort(fixed.begin(), fixed.end(),
              [](const SweepElement& x, const SweepElement& y) { return x.thetaMin < y.thetaMin; });
    double widest = 0;
    for (const SweepElement& f : fixed)
        widest = std::max(widest, f.thetaMax - f.thetaMin);

    // A point of gear 2 moves at most reach2 per radian of turn.
    const double allow = model.tolerance / model.reach2;
    std::vector<double> turns;
    std::vector<TurnRange> occupied;
    for (double window = model.firstWindow;; window = std::min(2 * window, model.halfPitch2)) {
        occupied.clear();
        for (const SweepElement& g : moving) {
            // Turned within the window, g covers these polar angles about the pivot.
            const double lo = g.thetaMin - window - kAngleSlack;
            const double hi = g.thetaMax + window + kAngleSlack;
            auto it =
                std::lower_bound(fixed.begin(), fixed.end(), lo - widest,
                                 [](const SweepElement& f, double v) { return f.thetaMin < v; });
            for (; it != fixed.end() && it->thetaMin <= hi; ++it) {
                if (it->thetaMax < lo || it->rhoMin > g.rhoMax + model.tolerance ||
                    g.rhoMin > it->rhoMax + model.tolerance)
                    continue;
                appendCrossings(*it, g, window, turns, occupied);
            }
        }
        const std::optional<TurnRange> best = pickFree(freeRanges(occupied, window, allow));
        const bool last = window >= model.halfPitch2;
        // A free range that reaches the window's edge may go on beyond it.
        if (best && (last || (best->lo > -window && best->hi < window)))
            return FreeTurn{best->lo, best->hi};
        if (last)
            return std::nullopt;
    }
}

MeshCheck checkMesh(const MeshSetup& setup) {
    MeshCheck check;
    check.jn = setup.jn;
    check.jtSoll = setup.jtSoll;
    const OutlineReach reach1 = outlineReach(setup.gear1);
    const OutlineReach reach2 = outlineReach(setup.gear2);
    check.c1 = setup.a - reach1.max - reach2.min;
    check.c2 = setup.a - reach2.max - reach1.min;

    const MeshModel model = prepareMesh(setup);
    double jtMin = std::numeric_limits<double>::infinity();
    double jtMax = -std::numeric_limits<double>::infinity();
    for (std::int32_t k = 0; k < kMeshSteps; ++k) {
        const double phi1Degrees = k * (360.0 / setup.gear1.z) / 360.0;
        const std::optional<FreeTurn> free = freeTurn(model, phi1Degrees * kDegToRad);
        if (!free) {
            if (!check.interferencePhi1)
                check.interferencePhi1 = phi1Degrees;
            continue;
        }
        const double jt = (free->hi - free->lo) * setup.rw2;
        jtMin = std::min(jtMin, jt);
        jtMax = std::max(jtMax, jt);
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    check.jtMin = jtMin <= jtMax ? jtMin : nan;
    check.jtMax = jtMin <= jtMax ? jtMax : nan;
    return check;
}

}  // namespace kellvor
