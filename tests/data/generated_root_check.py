#!/usr/bin/python3
"""Cuts gear teeth the way a hob does and compares the gap with Kellvor's generated root.

Usage: generated_root_check.py <kellvor-cli> [--study]

A construction of its own, with shapely (GEOS): the standard basic rack (normal pressure angle
20 degrees, tool addendum 1.25 mn, tip radius 0.38 mn, half a pitch thick at its datum line),
drawn in the normal section with true circular roundings and stretched along the pitch line by
1 / cos(beta) into the transverse section, shifted outwards by x mn and rolled without slipping
on the reference circle. One rack tooth, placed at many rolling angles, is subtracted from the
disk of the tip circle: what is left of the disk around that gap is the generated gap. Kellvor
writes the same gear with --root generated into a temporary folder; its drawing (LINE and ARC
entities read with ezdxf) is cut to the same sector around the gap, and the Hausdorff distance
between the two boundaries must stay below 1e-3 mn.

The distance is measured from points spaced at most 1e-4 mn along either boundary to the other
boundary as a polyline (exact point-to-segment distances); since that distance changes by no more
than the step along the boundary, the maximum found is the true one to within 5e-5 mn. The cut
boundary itself is a polyline: each rounding drawn with ROUNDING_POINTS vertices (a chord error
of 0.38 mn (1 - cos(35 deg / ROUNDING_POINTS)), 8e-6 mn for 96) and the rack placed at
ROLL_STEPS angles (the scallops left between two placements grow with the square of the rolling
step). Both halved, the distance falls to a quarter, as --study shows (the six gears' range):

    rounding points, rolling steps      Hausdorff distance
    12, 150                             6.0e-4 .. 1.23e-3 mn
    24, 300                             1.5e-4 .. 3.2e-4 mn
    48, 600                             3.8e-5 .. 8.4e-5 mn
    96, 1200 (used here)                9.5e-6 .. 2.0e-5 mn
    192, 2400                           2.4e-6 .. 4.9e-6 mn

The distance shrinks with the cut's own sampling and shows no floor: whatever Kellvor's outline
differs from the cut by lies below about 5e-6 mn at the points measured (and below 5.5e-5 mn
anywhere, the step between measuring points included).
"""

import math
import sys
import tempfile
from pathlib import Path

import ezdxf
from shapely import affinity
from shapely.geometry import LineString, MultiLineString, Point, Polygon
from shapely.ops import unary_union

sys.path.insert(0, str(Path(__file__).resolve().parent))
from check_common import ALPHA_N, contour_points, run_kellvor  # noqa: E402

MN = 2.0
SEGMENTS = 499
LIMIT = 1e-3  # times mn
DENSE = 1e-4  # spacing of the measuring points, times mn
ROUNDING_POINTS = 96
ROLL_STEPS = 1200

# name, z, x, beta in degrees
CASES = [
    ("z8 x0 spur (undercut)", 8, 0.0, 0.0),
    ("z8 x0 helical 25 (undercut)", 8, 0.0, 25.0),
    ("z12 x-0.5 spur (undercut)", 12, -0.5, 0.0),
    ("z12 x-0.5 helical 25 (undercut)", 12, -0.5, 25.0),
    ("z30 x0.5 spur", 30, 0.5, 0.0),
    ("z30 x0.5 helical 25", 30, 0.5, 25.0),
]


def rack_tooth(x, beta, rounding_points):
    """One tooth of the basic rack in the transverse section: (u along the pitch line, v outwards
    from the rolling line), the tooth pointing towards the gear centre, centred on u = 0."""
    rho = 0.38 * MN
    datum = x * MN  # the datum line lies x mn outside the rolling (reference) line
    tip = datum - 1.25 * MN
    top = datum + 1.5 * MN  # above the rack's root line: never inside the tip circle

    # Right flank in the normal section: the line through (pi mn / 4, datum), leaning outwards by
    # alpha_n as it rises. Its inward unit normal, and the rounding's centre: rho inside the
    # flank and rho above the tip line.
    fx, fy = math.pi * MN / 4, datum
    dx, dy = math.sin(ALPHA_N), math.cos(ALPHA_N)  # along the flank, upwards
    nx, ny = -dy, dx  # inward (towards the tooth's centre line)
    cy = tip + rho
    # A point c on the line offset by rho: c = f + rho n + s d with c_y = cy.
    s = (cy - fy - rho * ny) / dy
    cx = fx + rho * nx + s * dx
    # The rounding runs from straight below the centre to the foot of the centre on the flank.
    start = -math.pi / 2
    end = math.atan2(-ny, -nx)
    arc = [(cx + rho * math.cos(start + (end - start) * i / rounding_points),
            cy + rho * math.sin(start + (end - start) * i / rounding_points))
           for i in range(rounding_points + 1)]
    top_u = fx + (top - fy) * dx / dy
    right = arc + [(top_u, top)]
    left = [(-u, v) for (u, v) in reversed(right)]
    stretch = 1 / math.cos(math.radians(beta))
    return [(u * stretch, v) for (u, v) in left + right]


def cut_gap(z, x, beta, rounding_points, roll_steps):
    """The tip disk with one gap cut by the rolled rack tooth; the gap's centre line is +y."""
    mt = MN / math.cos(math.radians(beta))
    r = z * mt / 2
    ra = r + (1 + x) * MN
    tooth = rack_tooth(x, beta, rounding_points)
    # The tooth reaches the disk only while its rolled position lies within the tip circle.
    width = max(abs(u) for (u, _) in tooth)
    phi_max = (width + math.sqrt(ra * ra - (r + x * MN - 1.25 * MN) ** 2)) / r
    placed = []
    for i in range(roll_steps + 1):
        phi = -phi_max + 2 * phi_max * i / roll_steps
        c, s = math.cos(phi), math.sin(phi)
        pts = [(u + r * phi, r + v) for (u, v) in tooth]
        placed.append(Polygon([(c * px - s * py, s * px + c * py) for (px, py) in pts]))
    disk = Point(0, 0).buffer(ra, resolution=2048)
    return disk.difference(unary_union(placed)), ra


def kellvor_contour(cli, folder, z, x, beta):
    """Kellvor's outline of gear 1 as one closed polyline (arcs sampled every 1e-4 mn)."""
    run_kellvor(cli, folder, "--root", "generated", z1=z, mn=MN, beta=beta, x1=x,
                segments=SEGMENTS)
    return contour_points(ezdxf.readfile(folder / "zahnrad.dxf").modelspace(),
                          lambda radius, sweep: max(8, int(math.radians(sweep) * radius
                                                           / (DENSE * MN))))


def sector(cut, ra):
    """The wedge around the gap (+y) up to the corners where the cut flanks meet the tip circle.
    Beyond them the drawing's tip land is a chord of the tip circle, the same for either root."""
    on_tip = [p for p in cut.exterior.coords if math.hypot(*p) > ra - DENSE * MN]
    half = min(abs(math.atan2(p[0], p[1])) for p in on_tip)
    far = 2 * ra
    return Polygon([(0, 0), (far * math.sin(-half), far * math.cos(-half)),
                    (0, far), (far * math.sin(half), far * math.cos(half))])


def densified(lines, spacing):
    points = []
    for line in getattr(lines, "geoms", [lines]):
        coords = list(line.coords)
        for a, b in zip(coords, coords[1:]):
            n = max(1, math.ceil(math.dist(a, b) / spacing))
            points += [(a[0] + (b[0] - a[0]) * i / n, a[1] + (b[1] - a[1]) * i / n)
                       for i in range(n)]
        points.append(coords[-1])
    return points


def segment_distance(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy)
                                              / length2))
    return math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy)


def one_sided(points, other, cell):
    """Largest distance of the points from the polyline other: exact distances to its segments,
    looked up in a grid of cells (a point's nearest segment is in its own or a neighbouring cell
    when it lies closer than a cell; otherwise all segments are searched)."""
    segments = [pair for line in getattr(other, "geoms", [other])
                for pair in zip(line.coords, list(line.coords)[1:])]
    grid = {}
    for s in segments:
        # Every cell the segment's box touches.
        for i in range(math.floor(min(s[0][0], s[1][0]) / cell),
                       math.floor(max(s[0][0], s[1][0]) / cell) + 1):
            for j in range(math.floor(min(s[0][1], s[1][1]) / cell),
                           math.floor(max(s[0][1], s[1][1]) / cell) + 1):
                grid.setdefault((i, j), []).append(s)
    worst = 0.0
    for p in points:
        i, j = math.floor(p[0] / cell), math.floor(p[1] / cell)
        near = [s for di in (-1, 0, 1) for dj in (-1, 0, 1) for s in grid.get((i + di, j + dj), [])]
        d = min((segment_distance(p, a, b) for a, b in near), default=math.inf)
        if d > cell:
            d = min(segment_distance(p, a, b) for a, b in segments)
        worst = max(worst, d)
    return worst


def hausdorff(a, b, spacing):
    """Largest distance of a point of either polyline from the other one."""
    cell = 100 * spacing
    return max(one_sided(densified(a, spacing), b, cell), one_sided(densified(b, spacing), a, cell))


def boundary_in(shape, wedge):
    lines = shape.boundary.intersection(wedge)
    if isinstance(lines, LineString):
        return lines
    return MultiLineString([g for g in lines.geoms if isinstance(g, LineString)])


def compare(kellvor_points, z, x, beta, rounding_points, roll_steps):
    cut, ra = cut_gap(z, x, beta, rounding_points, roll_steps)
    # Kellvor's first gap lies half a pitch clockwise of +y; turn it onto +y.
    drawn = affinity.rotate(Polygon(kellvor_points), 180.0 / z, origin=(0, 0))
    wedge = sector(cut, ra)
    return hausdorff(boundary_in(cut, wedge), boundary_in(drawn, wedge), DENSE * MN) / MN


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__)
        return 2
    cli = sys.argv[1]
    study = len(sys.argv) == 3 and sys.argv[2] == "--study"
    samplings = [(ROUNDING_POINTS, ROLL_STEPS)]
    if study:
        samplings = [(12, 150), (24, 300), (48, 600), (ROUNDING_POINTS, ROLL_STEPS), (192, 2400)]
    failed = 0
    with tempfile.TemporaryDirectory(prefix="kellvor_root_") as tmp:
        for name, z, x, beta in CASES:
            points = kellvor_contour(cli, Path(tmp), z, x, beta)
            for rounding_points, roll_steps in samplings:
                d = compare(points, z, x, beta, rounding_points, roll_steps)
                ok = d < LIMIT
                failed += not ok
                print(f"{name}: rounding {rounding_points} points, {roll_steps} rolling steps: "
                      f"Hausdorff distance {d:.2e} mn {'ok' if ok else 'FAILED'}")
    return 1 if failed and not study else 0


if __name__ == "__main__":
    sys.exit(main())
