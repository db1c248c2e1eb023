#!/usr/bin/env python3
"""Independent reference for the findings and the inspection dimensions of a gear pair.

Plain math with constructions of its own: involute points by rolling a line off the base circle
(no involute function), the working pressure angle by bisection, the path of contact from the
tangent points, the undercut limit from the height of the base-circle tangent point below the
pitch line, the span width as a base-circle arc, and the dimension over balls by placing the
ball centre numerically where its distance to the flank (a helicoid for helical gears) is half
the ball diameter. Bisection on a profile shift finds where each finding starts.

A findings line gives each value case its input; 400 random pairs are listed as well.

Run it and keep the output in assessment_reference.txt; the assessment tests read it. Lines:
  value <case> <quantity> <number>
  findings <case> <z1> <z2> <mn> <beta> <x1> <x2> <code/level/gear,...>   (gear 0: the pair)
  boundary <case> <code> <level> <gear> <z1> <z2> <mn> <beta> <x1> <x2> <varied> <direction>
where the varied value (x1, x2 or beta) already holds the boundary value and direction (+1 or -1)
says which way the finding appears.
"""
import math
import random

ALPHA_N = math.radians(20.0)


def golden_min(f, lo, hi, steps=200):
    """Minimum of a unimodal f on [lo, hi] by golden-section search: (argument, value)."""
    g = (math.sqrt(5) - 1) / 2
    a, b = lo, hi
    c, d = b - g * (b - a), a + g * (b - a)
    fc, fd = f(c), f(d)
    for _ in range(steps):
        if fc < fd:
            b, d, fd = d, c, fc
            c = b - g * (b - a)
            fc = f(c)
        else:
            a, c, fc = c, d, fd
            d = a + g * (b - a)
            fd = f(d)
        if b - a < 1e-15 * max(1.0, abs(a)):
            break
    x = (a + b) / 2
    return x, f(x)


def bisect(f, lo, hi, steps=200):
    """A root of f between lo and hi where f changes sign."""
    flo = f(lo)
    for _ in range(steps):
        mid = (lo + hi) / 2
        if mid in (lo, hi):
            break
        fm = f(mid)
        if (fm < 0) == (flo < 0):
            lo, flo = mid, fm
        else:
            hi = mid
    return (lo + hi) / 2


class Gear:
    def __init__(self, z, mn, beta_deg, x):
        self.z, self.mn, self.x = z, mn, x
        self.beta = math.radians(beta_deg)
        self.alpha_t = math.atan(math.tan(ALPHA_N) / math.cos(self.beta))
        self.mt = mn / math.cos(self.beta)
        self.r = z * self.mt / 2
        self.rb = self.r * math.cos(self.alpha_t)
        self.ra = self.r + (1 + x) * mn
        self.rf = self.r + (x - 1.25) * mn
        self.rs = max(self.rb, self.rf + 0.2 * self.mt)
        # Base helix angle: the helix on the base cylinder has the lead of the reference helix.
        self.beta_b = math.atan(math.tan(self.beta) * self.rb / self.r)
        # Transverse tooth thickness on the reference circle, as the basic rack cuts it.
        self.st = self.mt * (math.pi / 2 + 2 * x * math.tan(ALPHA_N))
        # Flank: the involute unwound counter-clockwise from the base circle at angle theta0;
        # it passes the reference circle at the polar angle -st / (2 r), so the tooth is
        # symmetric about the polar angle 0.
        t_ref = math.sqrt((self.r / self.rb) ** 2 - 1)
        px, py = self.rolled(0.0, t_ref)
        self.theta0 = -self.st / (2 * self.r) - math.atan2(py, px)

    def rolled(self, theta0, t):
        """Point of the involute unwound from the base point at angle theta0 by roll angle t."""
        c, s = math.cos(theta0 + t), math.sin(theta0 + t)
        return (self.rb * (c + t * s), self.rb * (s - t * c))

    def flank(self, t):
        return self.rolled(self.theta0, t)

    def roll_at(self, radius):
        return math.sqrt(max(0.0, (radius / self.rb) ** 2 - 1))

    def half_angle(self, radius):
        """Half the angle the tooth covers at radius (negative where the flanks have crossed)."""
        px, py = self.flank(self.roll_at(radius))
        return -math.atan2(py, px)

    def tip_thickness_normal(self):
        s_at = 2 * self.ra * self.half_angle(self.ra)
        beta_a = math.atan(math.tan(self.beta) * self.ra / self.r)
        return s_at * math.cos(beta_a)

    def x_min(self):
        # The tool's straight flank ends (tip rounding 0.38 mn touches it) at this height above
        # the rack's datum line; it must not reach below the tangent point of the line of
        # action on the base circle, which lies (r - rb cos alpha_t) below the pitch line.
        straight = 1.25 * self.mn - 0.38 * self.mn * (1 - math.sin(ALPHA_N))
        # Foot of the perpendicular from the centre onto the line of action through (0, r).
        dx, dy = math.cos(self.alpha_t), -math.sin(self.alpha_t)
        along = -self.r * dy
        tx, ty = along * dx, self.r + along * dy
        depth = self.r - ty
        return (straight - depth) / self.mn

    def span(self, k):
        """Base tangent length over k teeth: the base-circle arc from one flank's origin to the
        opposite flank's origin k - 1 pitches on, seen in the normal section."""
        base_tooth = -2 * self.theta0
        arc = self.rb * (base_tooth + (k - 1) * 2 * math.pi / self.z)
        return arc * math.cos(self.beta_b)

    def span_count(self):
        cos_m = self.rb / (self.r + self.x * self.mn)
        alpha_m = math.acos(min(1.0, cos_m))
        inv_t = math.tan(self.alpha_t) - self.alpha_t
        v = (self.z / math.pi) * (math.tan(alpha_m) - inv_t) \
            - 2 * self.x * math.tan(ALPHA_N) / math.pi + 0.5
        return max(1, math.ceil(v - 0.5))

    def nearest_flank_point(self, cx, cy):
        """Distance from the point (cx, cy, 0) to the flank surface, and the radius of the
        flank point nearest to it."""
        lead = math.tan(self.beta) / self.r  # turn of the flank per unit of axial length
        roll_end = self.roll_at(self.ra) * 1.5 + 1.0

        def nearest_in_section(zax):
            rot = zax * lead
            c, s = math.cos(rot), math.sin(rot)

            def d2(t):
                px, py = self.flank(t)
                qx, qy = c * px - s * py, s * px + c * py
                return (qx - cx) ** 2 + (qy - cy) ** 2 + zax * zax

            return golden_min(d2, 0.0, roll_end)

        zax = 0.0
        if self.beta != 0:
            reach = 2 * self.mn
            zax = golden_min(lambda v: nearest_in_section(v)[1], -reach, reach, steps=120)[0]
        t, d2 = nearest_in_section(zax)
        if self.beta == 0 and t > 1e-6:
            # The golden section places the nearest point only to about 1e-8; the flank's
            # tangent at it is perpendicular to the way to (cx, cy), a sign change to bisect.
            def along(v):
                px, py = self.flank(v)
                return (px - cx) * math.cos(self.theta0 + v) + (py - cy) * math.sin(self.theta0 + v)

            lo, hi = t * (1 - 1e-4), t * (1 + 1e-4)
            if (along(lo) < 0) != (along(hi) < 0):
                t = bisect(along, lo, hi)
        return math.sqrt(d2), math.hypot(*self.flank(t))

    def flank_distance(self, cx, cy):
        return self.nearest_flank_point(cx, cy)[0]

    def ball_contact_radius(self, dm):
        """Radius at which a ball of diameter dm touches the flank."""
        gap = -math.pi / self.z
        centre = self.ball_centre(dm)
        return self.nearest_flank_point(centre * math.cos(gap), centre * math.sin(gap))[1]

    def ball_range(self):
        """Ball diameters whose contact lies on the drawn involute, from rs to ra (spur)."""
        gap = -math.pi / self.z
        # Where the involute starts at the base circle, the smallest ball touches it at its
        # origin with its centre on the tangent there, which is the involute's normal.
        smallest = 2 * self.rb * math.tan(self.theta0 - gap)

        def at(radius):
            return bisect(lambda dm: self.ball_contact_radius(dm) - radius,
                          smallest * (1 + 1e-9), 6 * self.mn, steps=60)
        return (smallest if self.rs == self.rb else at(self.rs)), at(self.ra)

    def ball_centre(self, dm):
        gap = -math.pi / self.z  # the gap below the tooth at polar angle 0

        def miss(rad):
            return self.flank_distance(rad * math.cos(gap), rad * math.sin(gap)) - dm / 2

        # Above the base circle the gap widens outwards, so the distance grows with the radius.
        assert miss(self.rb) < 0 < miss(self.ra + dm)
        return bisect(miss, self.rb, self.ra + dm, steps=100)

    def over_balls(self, dm):
        """Dimension over two balls of diameter dm in opposite gaps."""
        centre = self.ball_centre(dm)
        if self.z % 2 == 0:
            return 2 * centre + dm
        return 2 * centre * math.cos(math.pi / (2 * self.z)) + dm


def inv_root(target):
    """The angle whose involute (found by rolling, not by formula) is target; None if negative."""
    if target < 0:
        return None
    return bisect(lambda a: (math.tan(a) - a) - target, 0.0, 1.5)


class Pair:
    def __init__(self, z1, z2, mn, beta, x1, x2):
        self.g1 = Gear(z1, mn, beta, x1)
        self.g2 = Gear(z2, mn, beta, x2)
        g = self.g1
        inv_t = math.tan(g.alpha_t) - g.alpha_t
        # Zero backlash: the tooth thicknesses on the working circles fill one working pitch.
        self.alpha_wt = inv_root(inv_t + 2 * (x1 + x2) * math.tan(ALPHA_N) / (z1 + z2))
        if self.alpha_wt is None:
            self.a = None
            return
        self.a = (self.g1.rb + self.g2.rb) / math.cos(self.alpha_wt)
        # Tangent points T1, T2 of the line of action and the tips' intersections with it.
        self.t1t2 = self.a * math.sin(self.alpha_wt)
        self.tip1 = math.sqrt(self.g1.ra ** 2 - self.g1.rb ** 2)
        self.tip2 = math.sqrt(self.g2.ra ** 2 - self.g2.rb ** 2)
        pitch = 2 * math.pi * self.g1.rb / z1
        self.eps = (self.tip1 + self.tip2 - self.t1t2) / pitch
        self.c = self.a - self.g1.ra - self.g2.rf
        self.k = (self.a - (self.g1.r + self.g2.r) - (x1 + x2) * mn) / mn
        self.gstart1 = self.t1t2 - self.tip2  # from T1 to where contact on gear 1 starts
        self.gstart2 = self.t1t2 - self.tip1
        self.ra_start1 = math.hypot(self.g1.rb, self.gstart1)
        self.ra_start2 = math.hypot(self.g2.rb, self.gstart2)


def findings(p):
    """(code, level, gear) of every finding of the pair."""
    out = []
    for i, gear in ((1, p.g1), (2, p.g2)):
        if gear.x < gear.x_min():
            out.append(("undercut", "Warnung", i))
        san = gear.tip_thickness_normal()
        if san <= 0:
            out.append(("pointed", "Fehler", i))
        elif san < 0.2 * gear.mn:
            out.append(("thin_tip", "Warnung", i))
    if p.a is None:
        out.append(("no_mesh", "Fehler", 0))
        return out
    if p.eps < 1.0:
        out.append(("contact_ratio", "Fehler", 0))
    elif p.eps < 1.1:
        out.append(("contact_ratio", "Warnung", 0))
    mn = p.g1.mn
    if p.c < 0:
        out.append(("tip_clearance", "Fehler", 0))
    elif p.c < 0.1 * mn:
        out.append(("tip_clearance", "Warnung", 0))
    elif -p.k > 0.01:
        out.append(("tip_clearance", "Hinweis", 0))
    for i, start, rad, gear in ((1, p.gstart1, p.ra_start1, p.g1), (2, p.gstart2, p.ra_start2, p.g2)):
        if start < 0 or rad < gear.rs:
            out.append(("interference", "Fehler", i))
    return out


def values(name, z1, z2, mn, beta, x1, x2, dm):
    p = Pair(z1, z2, mn, beta, x1, x2)
    rows = [("DM", dm)]
    for i, g in ((1, p.g1), (2, p.g2)):
        k = g.span_count()
        rows += [(f"x_min{i}", g.x_min()), (f"san{i}", g.tip_thickness_normal()),
                 (f"sn{i}", mn * (math.pi / 2 + 2 * g.x * math.tan(ALPHA_N))),
                 (f"k{i}", k), (f"Wk{i}", g.span(k)), (f"Md{i}", g.over_balls(dm)),
                 (f"contact{i}", g.ball_contact_radius(dm)), (f"rs{i}", g.rs)]
    if p.a is not None:
        rows += [("epsilon_alpha", p.eps), ("c", p.c), ("k_factor", p.k), ("g1", p.gstart1),
                 ("g2", p.gstart2), ("rA1", p.ra_start1), ("rA2", p.ra_start2)]
    for key, v in rows:
        print(f"value {name} {key} {v:.15g}")
    codes = ",".join(f"{c}/{lv}/{g}" for c, lv, g in findings(p)) or "-"
    print(f"findings {name} {z1} {z2} {mn!r} {beta!r} {x1!r} {x2!r} {codes}")


def random_findings(count):
    """Findings of random pairs over the whole range of the entered values."""
    rng = random.Random(12)
    for i in range(count):
        z1 = rng.choice([rng.randint(4, 30), rng.randint(4, 300)])
        z2 = rng.choice([rng.randint(4, 30), rng.randint(4, 300)])
        mn = rng.uniform(0.5, 50)
        beta = rng.choice([0.0, rng.uniform(0, 30)])
        x1, x2 = rng.uniform(-0.5, 0.5), rng.uniform(-0.5, 0.5)
        p = Pair(z1, z2, mn, beta, x1, x2)
        codes = ",".join(f"{c}/{lv}/{g}" for c, lv, g in findings(p)) or "-"
        print(f"findings random{i} {z1} {z2} {mn!r} {beta!r} {x1!r} {x2!r} {codes}")


def boundary(name, code, level, gear, z1, z2, mn, beta, x1, x2, varied, lo, hi, measure):
    """Bisection on the varied shift for measure(pair) = 0; prints the case with that shift."""
    def inputs(v):
        return {"x1": (v, x2, beta), "x2": (x1, v, beta), "beta": (x1, x2, v)}[varied]

    def at(v):
        a, b, angle = inputs(v)
        return Pair(z1, z2, mn, angle, a, b)

    def f(v):
        return measure(at(v))

    fl, fh = f(lo), f(hi)
    assert (fl < 0) != (fh < 0), (name, fl, fh)
    v = bisect(f, lo, hi)
    # The finding appears where measure is negative.
    direction = -1 if fl < 0 else 1
    a, b, angle = inputs(v)
    print(f"boundary {name} {code} {level} {gear} {z1} {z2} {mn} {angle!r} {a!r} {b!r} "
          f"{varied} {direction}")


def main():
    print(f"value tabulated x_min_z17 {Gear(17, 1, 0, 0).x_min():.15g}")
    print(f"value tabulated x_min_z14 {Gear(14, 1, 0, 0).x_min():.15g}")
    print(f"value tabulated W3_z20 {Gear(20, 1, 0, 0).span(3):.15g}")
    print(f"value tabulated W4_z30 {Gear(30, 1, 0, 0).span(4):.15g}")

    for name, gear in (("ball_range_z50", Gear(50, 2, 0, 0.2)),
                       ("ball_range_z9", Gear(9, 1, 0, -0.3))):
        lo, hi = gear.ball_range()
        print(f"value {name} min {lo:.15g}")
        print(f"value {name} max {hi:.15g}")

    values("initial", 17, 40, 8, 20, 0, 0, 13.44)
    values("spur_even", 20, 31, 2, 0, 0.2, -0.1, 3.36)
    values("spur_odd", 31, 20, 2, 0, -0.1, 0.2, 3.36)
    values("helical_even", 24, 13, 3, 15, 0.3, 0.4, 5.04)
    values("helical_odd", 13, 24, 3, 15, 0.4, 0.3, 5.04)
    values("small", 6, 9, 1, 25, 0.45, -0.3, 1.68)
    values("wide", 101, 6, 1.5, 30, -0.5, 0.5, 2.52)

    for gear, (z1, z2, varied) in ((1, (12, 30, "x1")), (2, (30, 12, "x2"))):
        tag = f"g{gear}"
        boundary(f"undercut_{tag}", "undercut", "Warnung", gear, z1, z2, 2, 20, 0.1, 0.1,
                 varied, -0.5, 0.5,
                 lambda p, g=gear: (p.g1 if g == 1 else p.g2).x
                 - (p.g1 if g == 1 else p.g2).x_min())
    # Thin and pointed tips: few teeth with a large positive shift.
    for gear, (z1, z2, varied) in ((1, (7, 30, "x1")), (2, (30, 7, "x2"))):
        tag = f"g{gear}"
        pick = (lambda p, g=gear: p.g1 if g == 1 else p.g2)
        boundary(f"thin_tip_{tag}", "thin_tip", "Warnung", gear, z1, z2, 1, 10, 0.0, 0.0,
                 varied, -0.5, 0.5,
                 lambda p, pk=pick: pk(p).tip_thickness_normal() - 0.2 * pk(p).mn)
    for gear, (z1, z2, varied) in ((1, (4, 30, "x1")), (2, (30, 4, "x2"))):
        tag = f"g{gear}"
        pick = (lambda p, g=gear: p.g1 if g == 1 else p.g2)
        boundary(f"pointed_{tag}", "pointed", "Fehler", gear, z1, z2, 1, 0, 0.0, 0.0,
                 varied, -0.5, 0.5, lambda p, pk=pick: pk(p).tip_thickness_normal())
    # No working pressure angle: a negative shift sum on few teeth.
    boundary("no_mesh", "no_mesh", "Fehler", 0, 5, 6, 2, 0, -0.3, 0.0, "x2", -0.5, 0.5,
             lambda p: -1.0 if p.a is None else p.alpha_wt)
    # Contact ratio: large positive shifts on few teeth shorten the path of contact.
    boundary("contact_warning", "contact_ratio", "Warnung", 0, 9, 10, 1, 0, 0.5, 0.5, "beta",
             0, 30, lambda p: p.eps - 1.1)
    boundary("contact_error", "contact_ratio", "Fehler", 0, 4, 4, 1, 0, 0.0, 0.0, "beta",
             0, 30, lambda p: p.eps - 1.0)
    # Tip clearance: a large shift sum moves the centres apart by less than the shift sum.
    boundary("clearance_note", "tip_clearance", "Hinweis", 0, 20, 40, 4, 10, 0.3, 0.0, "x2",
             -0.5, 0.5, lambda p: 0.01 + p.k)
    boundary("clearance_warning", "tip_clearance", "Warnung", 0, 6, 8, 4, 10, 0.5, 0.0, "x2",
             -0.5, 0.5, lambda p: p.c - 0.1 * p.g1.mn)
    boundary("clearance_error", "tip_clearance", "Fehler", 0, 4, 5, 4, 0, 0.5, 0.0, "x2",
             -0.5, 0.5, lambda p: p.c)
    # Interference: the tip of the large mating gear reaches past the tangent point T on the
    # base circle of the small gear (whose drawn involute starts at its base circle here).
    for gear, (z1, z2, x1, x2, varied) in ((1, (8, 60, 0.5, 0.0, "x2")),
                                           (2, (60, 8, 0.0, 0.5, "x1"))):
        tag = f"g{gear}"
        boundary(f"interference_{tag}", "interference", "Fehler", gear, z1, z2, 1, 0, x1, x2,
                 varied, -0.5, 0.0,
                 lambda p, g=gear: min(p.gstart1, p.ra_start1 - p.g1.rs) if g == 1
                 else min(p.gstart2, p.ra_start2 - p.g2.rs))
    random_findings(400)


main()
