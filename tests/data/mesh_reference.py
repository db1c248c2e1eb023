#!/usr/bin/python3
"""Checks the mesh check of kellvor-cli --pair against an independent measurement.

Usage: mesh_reference.py <kellvor-cli>

For each pair kellvor-cli writes zahnradpaar.dxf and eingriff.txt into a temporary folder.
This script reads the two gears from the drawing's layers ZAHNRAD1 and ZAHNRAD2 (ezdxf), makes
them polygons (lines as drawn, arcs flattened) and turns them through the same 360 steps:
gear 1 counter-clockwise by phi1 = k (360 / z1) / 360 degrees, gear 2 clockwise about its centre
(0, a) by phi1 z1 / z2 and then by a free extra turn. At each step the free turns on either side
of the rolling position are found by bisection on GEOS's exact predicate "the interiors
intersect" (shapely), which is a method of its own: no sweep, no closed forms. Their width on
gear 2's working circle is jt; its minimum and maximum must match eingriff.txt to its six
digits. The clearances c1, c2 come from the drawing's lines and arcs, the centre distance and
jt soll from the gear formulas written out here.

A pair whose teeth interfere is checked at the step eingriff.txt names and the one before it:
there every sampled turn within half a pitch of gear 2 overlaps, before it a sampled turn is
free.
"""

import math
import sys
from pathlib import Path

import ezdxf
import numpy as np
from shapely.geometry import Polygon

sys.path.insert(0, str(Path(__file__).resolve().parent))
from check_common import (ALPHA_N, centre_distance, contour_points, end_points,  # noqa: E402
                          pressure_angles, run_checks, run_kellvor)

# name, z1, z2, mn, b, beta, x1, x2, segments, backlash
CASES = [
    ("initial values", 17, 40, 8.0, 45.0, 20.0, 0.0, 0.0, 10, 0.0),
    ("shifted spur, backlash 0.1", 20, 40, 2.0, 20.0, 0.0, 0.2, 0.1, 20, 0.1),
    ("helical, negative shift", 23, 31, 3.0, 30.0, 12.0, -0.3, 0.1, 6, 0.05),
    # The gear relations see interference here (the wheel's tip passes the tangent point of the
    # line of action), while the drawn outlines run free over the root arc.
    ("unshifted pinion of 12 teeth", 12, 40, 8.0, 45.0, 20.0, 0.0, 0.0, 10, 0.0),
]
# Pairs whose teeth interfere at some steps: a small pinion with a large shift, and a pinion
# against a wheel with negative shift that the gear relations pass.
INTERFERING = [
    ("six-tooth shifted pinion", 6, 40, 3.0, 20.0, 30.0, 0.5, 0.0, 9, 0.0),
    ("helical pinion, wheel shifted -0.5", 14, 40, 8.0, 45.0, 30.0, 0.0, -0.5, 10, 0.0),
]


def pair_formulas(z1, z2, mn, beta, x1, x2, jn):
    """Centre distance, working radius of gear 2 and jt soll from the textbook formulas."""
    _, alpha_wt = pressure_angles(z1, z2, beta, x1, x2)
    a = centre_distance(z1, z2, mn, beta, x1, x2)
    beta_b = math.asin(math.sin(math.radians(beta)) * math.cos(ALPHA_N))
    return a, a * z2 / (z1 + z2), jn / (math.cos(alpha_wt) * math.cos(beta_b))


def ring(entities, chord):
    """The gear's contour as points: lines as drawn, arcs flattened to the chord error."""
    def steps(radius, sweep):
        step = 2 * math.acos(max(-1.0, 1 - chord / radius))
        return max(4, math.ceil(math.radians(sweep) / step))

    return np.array(contour_points(entities, steps))


def reach(entities, centre):
    """Smallest and largest distance of the lines and arcs from centre."""
    lo, hi = math.inf, 0.0
    cx, cy = centre
    for e in entities:
        if e.dxftype() == "LINE":
            (ax, ay), (bx, by) = tuple(e.dxf.start)[:2], tuple(e.dxf.end)[:2]
            dx, dy = bx - ax, by - ay
            t = 0.0 if dx == dy == 0 else max(0.0, min(1.0, ((cx - ax) * dx + (cy - ay) * dy)
                                                        / (dx * dx + dy * dy)))
            lo = min(lo, math.hypot(ax + t * dx - cx, ay + t * dy - cy))
            hi = max(hi, math.hypot(ax - cx, ay - cy), math.hypot(bx - cx, by - cy))
            continue
        ends = end_points(e)
        lo = min([lo] + [math.hypot(x - cx, y - cy) for x, y in ends])
        hi = max([hi] + [math.hypot(x - cx, y - cy) for x, y in ends])
        c, r = e.dxf.center, e.dxf.radius
        d = math.hypot(c[0] - cx, c[1] - cy)
        away = math.degrees(math.atan2(c[1] - cy, c[0] - cx))
        sweep = (e.dxf.end_angle - e.dxf.start_angle) % 360.0
        if (away - e.dxf.start_angle) % 360.0 <= sweep:
            hi = max(hi, d + r)
        if (away + 180.0 - e.dxf.start_angle) % 360.0 <= sweep:
            lo = min(lo, abs(d - r))
    return lo, hi


def turned(points, degrees, centre):
    t = math.radians(degrees)
    c, s = math.cos(t), math.sin(t)
    rel = points - np.array(centre)
    return np.column_stack((c * rel[:, 0] - s * rel[:, 1], s * rel[:, 0] + c * rel[:, 1])) + centre


class Pair:
    """Both gears as polygons, cut down to what lies near the line of centres."""

    def __init__(self, doc, z1, z2, a, mn):
        space = doc.modelspace()
        g1 = [e for e in space if e.dxf.layer == "ZAHNRAD1"]
        g2 = [e for e in space if e.dxf.layer == "ZAHNRAD2"]
        self.z1, self.z2, self.a = z1, z2, a
        self.c2 = (0.0, a)
        self.reach1, self.reach2 = reach(g1, (0.0, 0.0)), reach(g2, self.c2)
        chord = 1e-4 * mn
        self.ring1, self.ring2 = ring(g1, chord), ring(g2, chord)
        # Gear 1 matters only inside gear 2's reach; gear 2 only within this polar angle about
        # its centre (from -y), which its free turn of up to half a pitch cannot carry beyond
        # gear 1's reach. The cuts lie where the other gear never comes.
        self.disc2 = Polygon(self._fan(self.c2, self.reach2[1] + mn, math.pi))
        half = math.asin(min(1.0, (self.reach1[1] + mn) / a)) + 2 * math.pi / z2
        self.sector2 = Polygon([self.c2] + list(self._fan(self.c2, self.reach2[1] + mn,
                                                          min(half, math.pi * 0.999))))

    @staticmethod
    def _fan(centre, r, half):
        t = np.linspace(-math.pi / 2 - half, -math.pi / 2 + half, 721)
        return np.column_stack((centre[0] + r * np.cos(t), centre[1] + r * np.sin(t)))

    def gear1(self, phi1):
        return Polygon(turned(self.ring1, phi1, (0.0, 0.0))).intersection(self.disc2)

    def gear2_near(self, phi1):
        near = Polygon(turned(self.ring2, -phi1 * self.z1 / self.z2, self.c2))
        return np.array(near.intersection(self.sector2).exterior.coords)

    def overlaps(self, g1, pts2, delta):
        g2 = Polygon(turned(pts2, math.degrees(delta), self.c2))
        return g1.relate_pattern(g2, "T********")


def free_turns(pair, phi1, limit):
    """The free turns around 0 by bisection; None when 0 itself overlaps."""
    g1 = pair.gear1(phi1)
    pts2 = pair.gear2_near(phi1)
    if pair.overlaps(g1, pts2, 0.0):
        return None
    ends = []
    for sign in (1.0, -1.0):
        lo, hi = 0.0, 1e-7
        while hi < limit and not pair.overlaps(g1, pts2, sign * hi):
            lo, hi = hi, min(limit, hi * 4)
        for _ in range(48):
            mid = (lo + hi) / 2
            lo, hi = (mid, hi) if not pair.overlaps(g1, pts2, sign * mid) else (lo, mid)
        ends.append(sign * lo)
    return ends[1], ends[0]


def run_cli(cli, folder, case):
    name, z1, z2, mn, b, beta, x1, x2, segments, jn = case
    run = run_kellvor(cli, folder, "--backlash", repr(jn), "--pair", z1=z1, z2=z2, mn=mn, b=b,
                      beta=beta, x1=x1, x2=x2, segments=segments)
    values = {}
    for line in (folder / "eingriff.txt").read_text().splitlines():
        label, value = line.split("=", 1)
        values[label] = value
    return ezdxf.readfile(folder / "zahnradpaar.dxf"), values, run.stderr


def close(text, value, allowed):
    """Whether the six printed digits of text stand for value, give or take allowed."""
    written = float(text)
    return abs(written - value) <= 5e-6 * abs(value) + allowed


def check_case(cli, folder, case):
    name, z1, z2, mn, b, beta, x1, x2, segments, jn = case
    doc, written, _ = run_cli(cli, folder, case)
    a, rw2, jt_soll = pair_formulas(z1, z2, mn, beta, x1, x2, jn)
    pair = Pair(doc, z1, z2, a, mn)
    problems = []
    limit = math.pi / z2
    jts = []
    for k in range(360):
        phi1 = k * (360.0 / z1) / 360.0
        turns = free_turns(pair, phi1, limit)
        if turns is None:
            problems.append(f"step {k}: the rolling position overlaps")
            break
        jts.append((turns[1] - turns[0]) * rw2)
    c1 = a - pair.reach1[1] - pair.reach2[0]
    c2 = a - pair.reach2[1] - pair.reach1[0]
    expected = {
        "Achsabstand a": a,
        "Flankenspiel jn (vorgegeben)": jn,
        "Verdrehflankenspiel jt soll": jt_soll,
        "Verdrehflankenspiel jt min": min(jts) if jts else math.nan,
        "Verdrehflankenspiel jt max": max(jts) if jts else math.nan,
        "Kopfspiel c1": c1,
        "Kopfspiel c2": c2,
    }
    # A penetration up to 1e-9 mn counts as touching: at each end of the free turns that
    # widens jt by at most that much on the working circle.
    allowed = 4e-9 * mn * rw2 / pair.reach2[1]
    for label, value in expected.items():
        if not close(written[label], value, allowed):
            problems.append(f"{label}: eingriff.txt {written[label]}, measured {value!r}")
    if written["Eingriffsstoerung"] != "keine":
        problems.append(f"Eingriffsstoerung={written['Eingriffsstoerung']}, expected keine")
    return problems


def check_interference(cli, folder, case):
    name, z1, z2, mn, b, beta, x1, x2, segments, jn = case
    doc, written, stderr = run_cli(cli, folder, case)
    a, _, _ = pair_formulas(z1, z2, mn, beta, x1, x2, jn)
    pair = Pair(doc, z1, z2, a, mn)
    said = written["Eingriffsstoerung"]
    if not said.startswith("bei phi1="):
        return [f"Eingriffsstoerung={said}, expected a step"]
    problems = []
    if "Eingriffsstörung" not in stderr:
        problems.append("no word of the interference on standard error")
    phi1 = float(said.split("=", 1)[1])
    k = round(phi1 * 360.0 * z1 / 360.0)
    limit = math.pi / z2
    # Over the whole half pitch, and a hundred times finer near the rolling position, where a
    # narrow free range of a step just before the interference lies.
    samples = np.concatenate((np.linspace(-limit, limit, 2001),
                              np.linspace(-limit / 100, limit / 100, 20001)))
    for step, want_free in ((k, False), (k - 1, True)):
        at = step * (360.0 / z1) / 360.0
        g1 = pair.gear1(at)
        pts2 = pair.gear2_near(at)
        free = any(not pair.overlaps(g1, pts2, d) for d in samples)
        if free != want_free:
            problems.append(f"step {step} (phi1 {at}): a free turn {'missing' if want_free else 'found'}")
    return problems


def main():
    checks = ([(case[0], check_case, case) for case in CASES]
              + [(case[0], check_interference, case) for case in INTERFERING])
    return run_checks(__doc__, "kellvor_mesh_", checks,
                      lambda total, failed: f"{total - failed} passed, {failed} failed")


if __name__ == "__main__":
    sys.exit(main())
