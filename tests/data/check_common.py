"""What the Python checks of kellvor-cli's drawings share: running kellvor-cli with the eight
values, the loop over the cases that prints "name: ok" or "name: FAILED" with the problems found,
the pair's centre distance from the gear formulas, and the gear contour of a DXF drawing as
pieces (lines and circular arcs, in the order and direction the contour runs), as sampled
points, as its length and as its exact enclosed area.

The scripts import it with the folder of this file put on sys.path.
"""

import math
import subprocess
import sys
import tempfile
from pathlib import Path

# The eight values of a gear pair in the order kellvor-cli lists them.
VALUES = ("z1", "z2", "mn", "b", "beta", "x1", "x2", "segments")

ALPHA_N = math.radians(20.0)  # the basic rack's normal pressure angle


class KellvorFailed(RuntimeError):
    """kellvor-cli ended with an exit code other than 0."""


def run_kellvor(cli, folder, *options, **values):
    """Runs kellvor-cli with the given values (named as in VALUES, the others left at their
    defaults) and options, writing into folder. Numbers are written as Python's repr gives them,
    so a float reaches kellvor-cli with every digit. Returns the finished process; raises
    KellvorFailed when kellvor-cli fails."""
    arguments = [cli]
    for name, value in values.items():
        if name not in VALUES:
            raise ValueError(f"{name} is none of the eight values")
        arguments += [f"--{name}", str(value) if isinstance(value, int) else repr(value)]
    arguments += [*options, "--output-dir", str(folder)]
    run = subprocess.run(arguments, capture_output=True, text=True, check=False)
    if run.returncode != 0:
        raise KellvorFailed(f"kellvor-cli failed ({run.returncode}): {run.stderr.strip()}")
    return run


def points_per_tooth(run):
    """N, the points per tooth, which kellvor-cli prints as its first line "n: N"."""
    return int(run.stdout.split("\n")[0].removeprefix("n: "))


def report(name, problems):
    """Prints "name: ok" or "name: FAILED" and the problems indented below; True if failed."""
    print(f"{name}: {'ok' if not problems else 'FAILED'}")
    for p in problems:
        print(f"    {p}")
    return bool(problems)


def run_checks(usage, prefix, checks, summary):
    """The main loop: checks are (name, check, case); check(cli, folder, case) returns the
    problems found, each check in a fresh folder of its own inside one temporary folder. A
    failing kellvor-cli is a problem of that case. summary(total, failed) is the last line.
    Returns the exit code: 2 without the one argument (kellvor-cli), 1 if a check failed."""
    if len(sys.argv) != 2:
        print(usage)
        return 2
    cli = sys.argv[1]
    failed = 0
    with tempfile.TemporaryDirectory(prefix=prefix) as tmp:
        for number, (name, check, case) in enumerate(checks):
            folder = Path(tmp) / str(number)
            folder.mkdir()
            try:
                problems = check(cli, folder, case)
            except KellvorFailed as failure:
                problems = [str(failure)]
            failed += report(name, problems)
    print(summary(len(checks), failed))
    return 1 if failed else 0


def arc_points(centre, radius, start, sweep, steps):
    """steps + 1 points on the circle about centre from the angle start through sweep (degrees,
    counter-clockwise for a positive sweep), both ends included."""
    return [(centre[0] + radius * math.cos(math.radians(start + sweep * i / steps)),
             centre[1] + radius * math.sin(math.radians(start + sweep * i / steps)))
            for i in range(steps + 1)]


class Line:
    def __init__(self, start, end):
        self.start, self.end = start, end


class Arc:
    """A circular arc from the angle start through sweep about centre (degrees; a negative
    sweep runs clockwise). Its end points are computed from these unless given."""

    def __init__(self, centre, radius, start, sweep, ends=None):
        self.centre, self.radius, self.start_angle, self.sweep = centre, radius, start, sweep
        self.start, self.end = ends or arc_points(centre, radius, start, sweep, 1)

    def reversed(self):
        return Arc(self.centre, self.radius, self.start_angle + self.sweep, -self.sweep,
                   (self.end, self.start))


def end_points(entity):
    """The two end points of a DXF LINE or ARC (an ARC's from its centre, radius and angles)."""
    if entity.dxftype() == "LINE":
        return [tuple(entity.dxf.start)[:2], tuple(entity.dxf.end)[:2]]
    c, r = entity.dxf.center, entity.dxf.radius
    return [(c[0] + r * math.cos(math.radians(a)), c[1] + r * math.sin(math.radians(a)))
            for a in (entity.dxf.start_angle, entity.dxf.end_angle)]


def contour_pieces(entities):
    """The closed contour through DXF LINEs and ARCs in drawing order as pieces that run along
    it: each piece is turned round when the contour reaches it at its far end (the root arc about
    the gear centre, drawn counter-clockwise as every DXF ARC, runs from its end angle back to
    its start in a clockwise contour); the first piece runs towards the second."""
    pieces = []
    for e in entities:
        if e.dxftype() == "LINE":
            pieces.append(Line(*end_points(e)))
        else:
            c = tuple(e.dxf.center)[:2]
            sweep = (e.dxf.end_angle - e.dxf.start_angle) % 360.0
            pieces.append(Arc(c, e.dxf.radius, e.dxf.start_angle, sweep))
    if len(pieces) > 1:
        nearest = min(math.dist(p, q) for p in (pieces[0].start, pieces[0].end)
                      for q in (pieces[1].start, pieces[1].end))
        if min(math.dist(pieces[0].start, q) for q in (pieces[1].start, pieces[1].end)) == nearest:
            pieces[0] = turned_round(pieces[0])
    for i in range(1, len(pieces)):
        reached = pieces[i - 1].end
        if math.dist(reached, pieces[i].end) < math.dist(reached, pieces[i].start):
            pieces[i] = turned_round(pieces[i])
    return pieces


def turned_round(piece):
    return Line(piece.end, piece.start) if isinstance(piece, Line) else piece.reversed()


def sampled(pieces, steps):
    """The contour as points: each piece's start, and on an arc steps(radius, |sweep| in
    degrees) - 1 points between its ends. The last piece's end is the first point again and is
    left out."""
    points = []
    for piece in pieces:
        if isinstance(piece, Line):
            points.append(piece.start)
        else:
            n = steps(piece.radius, abs(piece.sweep))
            points.extend(arc_points(piece.centre, piece.radius, piece.start_angle, piece.sweep,
                                     n)[:-1])
    return points


def half_degree_steps(radius, sweep):
    """Arcs sampled every half degree, at least eight steps each."""
    return max(8, int(sweep * 2))


def contour_points(entities, steps=half_degree_steps):
    """The contour of DXF LINEs and ARCs as points in drawing order, arcs sampled by steps."""
    return sampled(contour_pieces(entities), steps)


def segment_area(radius, sweep):
    """Signed area between a circular arc and its chord: positive for a counter-clockwise arc
    (sweep in radians), which adds to the area of a counter-clockwise contour."""
    return radius * radius / 2 * (sweep - math.sin(sweep))


def enclosed_area(pieces):
    """The exact signed area the closed contour of pieces bounds (positive counter-clockwise):
    the shoelace sum of the polygon through the pieces' ends plus, per arc, the circular
    segment between the arc and its chord."""
    area = 0.0
    for piece in pieces:
        (x0, y0), (x1, y1) = piece.start, piece.end
        area += (x0 * y1 - x1 * y0) / 2
        if isinstance(piece, Arc):
            area += segment_area(piece.radius, math.radians(piece.sweep))
    return area


def contour_length(pieces):
    return sum(math.dist(p.start, p.end) if isinstance(p, Line)
               else p.radius * math.radians(abs(p.sweep)) for p in pieces)


def inv(a):
    return math.tan(a) - a


def pressure_angles(z1, z2, beta, x1, x2):
    """The transverse pressure angle alpha_t and the working one alpha_wt (radians), from
    inv(alpha_wt) = inv(alpha_t) + 2 (x1 + x2) tan(alpha_n) / (z1 + z2) solved by bisection."""
    alpha_t = math.atan(math.tan(ALPHA_N) / math.cos(math.radians(beta)))
    target = 2 * (x1 + x2) * math.tan(ALPHA_N) / (z1 + z2) + inv(alpha_t)
    lo, hi = 1e-9, 1.5
    for _ in range(200):
        mid = (lo + hi) / 2
        lo, hi = (mid, hi) if inv(mid) < target else (lo, mid)
    return alpha_t, (lo + hi) / 2


def centre_distance(z1, z2, mn, beta, x1, x2):
    """a = (d1 + d2) / 2 cos(alpha_t) / cos(alpha_wt), with d = z mn / cos(beta)."""
    alpha_t, alpha_wt = pressure_angles(z1, z2, beta, x1, x2)
    d1, d2 = (z * mn / math.cos(math.radians(beta)) for z in (z1, z2))
    return (d1 + d2) / 2 * math.cos(alpha_t) / math.cos(alpha_wt)
