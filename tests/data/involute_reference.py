#!/usr/bin/env python3
"""Independent reference for the outline of gear 1 with true involute flanks.

Computes, with plain math and formulas of its own (polar involute, circumcentre of three points),
the first flank point, the lower flank ends, the root point, the circle through them and the
directions of the flank ends from its centre. Run it and keep the output in
involute_reference.txt; the outline tests read the numbers from there.
"""
import math

ALPHA_N = math.radians(20.0)


def inv(a):
    return math.tan(a) - a


def gear1(z1, mn, beta_deg, x1):
    beta = math.radians(beta_deg)
    alpha_t = math.atan(math.tan(ALPHA_N) / math.cos(beta))
    mt = mn / math.cos(beta)
    r = z1 * mt / 2  # reference radius
    rb = r * math.cos(alpha_t)
    ra = r + (1 + x1) * mn
    rf = r + x1 * mn - 1.25 * mn
    r_usable = rf + 0.2 * mt  # usable involute radius: root radius + 0.2 mt
    rs = rb if rb > r_usable else r_usable
    # Transverse tooth thickness at the reference circle, as a half angle, carried to the base.
    half_tooth = (math.pi / 2 + 2 * x1 * math.tan(ALPHA_N)) / z1 + inv(alpha_t)

    def flank_point(rad):
        theta = half_tooth - inv(math.acos(rb / rad))
        return (rad * math.sin(theta), rad * math.cos(theta))

    tau = 2 * math.pi / z1
    p1 = flank_point(rs)
    # The next tooth's lower end: P1 mirrored across the gap's centre line at polar angle
    # pi/2 - tau/2, i.e. at polar angle (pi - tau) - angle(P1).
    a1 = math.atan2(p1[1], p1[0])
    a0 = (math.pi - tau) - a1
    p0 = (rs * math.cos(a0), rs * math.sin(a0))
    p2 = (rf * math.sin(tau / 2), rf * math.cos(tau / 2))
    tip = flank_point(ra)
    return p0, p1, p2, tip


def circumcircle(a, b, c):
    ax, ay = a
    bx, by = b
    cx, cy = c
    d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by))
    ux = ((ax * ax + ay * ay) * (by - cy) + (bx * bx + by * by) * (cy - ay)
          + (cx * cx + cy * cy) * (ay - by)) / d
    uy = ((ax * ax + ay * ay) * (cx - bx) + (bx * bx + by * by) * (ax - cx)
          + (cx * cx + cy * cy) * (bx - ax)) / d
    return ux, uy, math.hypot(ax - ux, ay - uy)


def direction(centre, p):
    return math.degrees(math.atan2(p[1] - centre[1], p[0] - centre[0])) % 360.0


def report(name, z1, mn, beta, x1):
    # Neither the lower flank ends nor the tip point depend on the number of segments.
    p0, p1, p2, tip = gear1(z1, mn, beta, x1)
    cx, cy, rho = circumcircle(p0, p1, p2)
    # In the gap the arc runs ccw about its centre from P1 down through the root point to P0.
    rows = [
        ("point0_x", p1[0]), ("point0_y", p1[1]),
        ("tip_x", tip[0]), ("tip_y", tip[1]),
        ("p0_x", p0[0]), ("p0_y", p0[1]),
        ("p2_x", p2[0]), ("p2_y", p2[1]),
        ("centre_x", cx), ("centre_y", cy), ("radius", rho),
        ("start_angle", direction((cx, cy), p1)), ("end_angle", direction((cx, cy), p0)),
    ]
    for key, value in rows:
        print(f"{name} {key} {value:.12g}")


def crossing_radius(z1, mn, beta_deg, x1):
    """Radius where the two involutes of a tooth meet on its centre line: inv(alpha) equals the
    half-tooth angle at the base circle. Found by bisection on the pressure angle."""
    beta = math.radians(beta_deg)
    alpha_t = math.atan(math.tan(ALPHA_N) / math.cos(beta))
    rb = z1 * mn / math.cos(beta) / 2 * math.cos(alpha_t)
    half_tooth = (math.pi / 2 + 2 * x1 * math.tan(ALPHA_N)) / z1 + inv(alpha_t)
    lo, hi = 0.0, math.pi / 2 - 1e-12
    for _ in range(200):
        mid = (lo + hi) / 2
        if inv(mid) < half_tooth:
            lo = mid
        else:
            hi = mid
    return rb / math.cos(lo)


report("spur", 20, 2.0, 0.0, 0.0)
report("helical", 40, 2.0, 15.0, 0.3)
# Four teeth with the largest shift come to a point below the tip circle (radius 7 for mn = 2).
print(f"pointed crossing_radius {crossing_radius(4, 2.0, 0.0, 0.5):.12g}")
