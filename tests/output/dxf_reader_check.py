#!/usr/bin/python3
"""Opens drawings written by kellvor-cli with ezdxf, an independent DXF reader, and checks them.

Usage: dxf_reader_check.py <kellvor-cli>

For each input (with the three-point root arc or the generated root) the drawing must load, pass
ezdxf's auditor without errors, hold z1 (N - 1) LINEs (N as kellvor-cli prints it) and z1 ARCs
with unique handles from 27 on (a pointed tooth has no tip land: that LINE is left out and its
handle skipped), and form one closed contour: every end point of a LINE or ARC (arc end points
from centre, radius and angles) meets exactly one end point of another entity within 1e-9 of
the module, and following those meetings visits every entity once. Shapely (GEOS, a second
independent library) then checks that the contour, its arcs sampled finely, bounds a valid
polygon: it never crosses or touches itself.

For some inputs the pair is written as well (--pair): zahnradpaar.dxf must load and pass the
auditor, be an R12 drawing in millimetres, hold the layers ZAHNRAD1, ZAHNRAD2, TEILKREISE,
ACHSEN and EINGRIFFSLINIE, and on each gear's layer the LINEs and ARCs must form one closed
contour that bounds a valid polygon (the same checks as for zahnrad.dxf). Unique handles and
defined layers, which the auditor does not check, are tested as well.

The CAM drawings (--dxf-style cam): each input is written twice into two folders, once minimal
and once CAM, with --pair for some. Every CAM drawing (zahnrad.dxf; with --pair zahnrad2.dxf
and zahnradpaar.dxf) must pass the auditor with nothing to mend, be R12 (AC1009) in
millimetres ($INSUNITS 4), have unique handles below $HANDSEED (read from the file itself) and
only entities and vertices on layers its table defines (read before the auditor, which adds
missing layers and moves vertices onto their polyline's layer). Each gear is one POLYLINE alone
on its layer ZAHNRAD1 or ZAHNRAD2: closed, its vertices within $EXTMIN and $EXTMAX, one vertex
per LINE and ARC of the minimal drawing (z1 N, or z1 (N - 1) where the table says the tooth is
pointed) and one bulge per tooth. A bulge b stands for the arc through its vertex and the next with the sweep
4 atan(b); that arc must be the minimal drawing's ARC there (centre and radius within 1e-9 of
the drawing's size), the bulges' circular segments must agree with ezdxf.math's bulge_to_arc,
and the area the polyline encloses, computed exactly (the shoelace sum over the vertices plus
each bulge's circular segment), must equal the area the minimal LINE/ARC contour encloses
(shoelace sum over its pieces along the contour plus each ARC's segment, signed by the way the
contour runs through it) within 1e-9 relative. In the assembly each gear's polyline encloses the
area of its own minimal drawing (zahnrad.dxf, zahnrad2.dxf: the assembly only moves it) and its
bulges are the minimal assembly's ARCs. Shapely checks the polyline, its arcs sampled every
half degree, bounds a valid polygon whose area differs from the exact one by no more than the
chords cut off the arcs (r^2 |sweep| d^2 / 12 an arc sampled in steps of d): a measure that
shares nothing with the exact sum. The largest relative area difference and the sampled areas'
differences over that bound are printed last.
"""

import math
import sys
from pathlib import Path

import ezdxf
from ezdxf.math import bulge_to_arc
from shapely.geometry import Polygon

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "data"))
from check_common import (Arc, Line, contour_pieces, contour_points, enclosed_area,  # noqa: E402
                          end_points, half_degree_steps, points_per_tooth, run_checks,
                          run_kellvor, sampled, segment_area)

# name, z1, z2, mn, b, beta, x1, x2, segmentCount[, root]
INPUTS = [
    ("spur example", 20, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 4),
    ("initial values", 17, 40, 8.0, 45.0, 20.0, 0.0, 0.0, 10),
    ("helical example", 40, 60, 2.0, 20.0, 15.0, 0.3, -0.2, 3),
    ("two points per tooth", 30, 40, 1.0, 10.0, 0.0, 0.0, 0.0, 0),
    ("four teeth", 4, 4, 2.0, 20.0, 0.0, 0.0, 0.0, 6),
    ("pointed tooth", 4, 40, 2.0, 20.0, 0.0, 0.5, 0.0, 5),
    ("narrow helical tip", 6, 40, 3.0, 20.0, 30.0, 0.5, 0.0, 9),
    ("outward arc", 8, 40, 1.0, 20.0, 30.0, 0.5, 0.0, 8),
    ("nearly straight gap", 16, 40, 1.0, 20.0, 20.0, 0.45, 0.0, 5),
    ("largest module", 100, 30, 50.0, 500.0, 30.0, -0.5, 0.5, 12),
    ("many teeth", 600, 40, 0.5, 5.0, 5.0, 0.1, 0.0, 20),
    ("generated root", 17, 40, 8.0, 45.0, 20.0, 0.0, 0.0, 10, "generated"),
    ("generated root, undercut", 8, 40, 1.0, 20.0, 0.0, 0.0, 0.0, 4, "generated"),
    ("generated root, pointed", 4, 40, 2.0, 20.0, 0.0, 0.5, 0.0, 5, "generated"),
    ("generated root, no segments", 30, 40, 1.0, 10.0, 25.0, -0.5, 0.0, 0, "generated"),
    ("generated root, many teeth", 200, 40, 0.5, 5.0, 5.0, 0.1, 0.0, 20, "generated"),
]


def check_closed_contour(entities, tolerance):
    """Problems found in the contour of entities, as text; empty when it is one closed loop."""
    ends = []  # (x, y, entity index)
    for i, e in enumerate(entities):
        for p in end_points(e):
            ends.append((p[0], p[1], i))
    order = sorted(range(len(ends)), key=lambda k: ends[k][0])
    partners = {k: [] for k in range(len(ends))}
    for a_pos, a in enumerate(order):
        for b in order[a_pos + 1:]:
            if ends[b][0] - ends[a][0] > tolerance:
                break
            if abs(ends[b][1] - ends[a][1]) <= tolerance:
                partners[a].append(b)
                partners[b].append(a)
    problems = []
    neighbours = {i: [] for i in range(len(entities))}
    for k, found in partners.items():
        x, y, i = ends[k]
        if len(found) != 1:
            problems.append(f"end point ({x!r}, {y!r}) of entity {entities[i].dxf.handle} "
                            f"meets {len(found)} end points")
        elif ends[found[0]][2] == i:
            problems.append(f"entity {entities[i].dxf.handle} meets only itself")
        else:
            neighbours[i].append(ends[found[0]][2])
    if problems:
        return problems[:10]
    seen = {0}
    stack = [0]
    while stack:
        for j in neighbours[stack.pop()]:
            if j not in seen:
                seen.add(j)
                stack.append(j)
    if len(seen) != len(entities):
        return [f"the contour through the first entity visits {len(seen)} of "
                f"{len(entities)} entities"]
    return []


def check_drawing(cli, folder, case):
    name, z1, z2, mn, b, beta, x1, x2, segments = case[:9]
    root = case[9] if len(case) > 9 else "arc"
    run = run_kellvor(cli, folder, "--root", root, z1=z1, z2=z2, mn=mn, b=b, beta=beta, x1=x1,
                      x2=x2, segments=segments)
    n = points_per_tooth(run)
    if root == "arc" and n != 2 * (segments + 1):
        return [f"{n} points per tooth, expected {2 * (segments + 1)}"]
    doc = ezdxf.readfile(folder / "zahnrad.dxf")
    problems = []
    auditor = doc.audit()
    if auditor.has_errors:
        problems += [f"auditor: {error.message}" for error in auditor.errors[:10]]
    entities = list(doc.modelspace())
    lines = [e for e in entities if e.dxftype() == "LINE"]
    arcs = [e for e in entities if e.dxftype() == "ARC"]
    # A pointed tooth's tip land (LINE M - 1 of the tooth, M = N / 2) has no length and is left
    # out; every other entity keeps the handle it would have had.
    pointed = len(lines) == z1 * (n - 2) and n > 2
    expected_lines = z1 * (n - 2) if pointed else z1 * (n - 1)
    if len(lines) != expected_lines or len(arcs) != z1:
        problems.append(f"{len(lines)} LINEs and {len(arcs)} ARCs of {len(entities)} entities, "
                        f"expected {z1 * (n - 1)} (or one fewer per tooth) and {z1}")
    handles = [e.dxf.handle for e in entities]
    if len(set(handles)) != len(handles):
        problems.append("handles are not unique")
    skipped = {27 + k * n + n // 2 - 1 for k in range(z1)} if pointed else set()
    if [int(h) for h in handles] != [h for h in range(27, 27 + z1 * n) if h not in skipped]:
        problems.append("handles do not run from 27 without gap but the tip lands")
    for e in entities:
        if e.dxf.layer != "0" or e.dxf.linetype != "CONTINUOUS" or e.dxf.color != 7:
            problems.append(f"entity {e.dxf.handle}: layer, linetype or colour differ")
            break
    problems += check_closed_contour(entities, 1e-9 * mn)
    if not problems:
        polygon = Polygon(contour_points(entities))
        if not polygon.is_valid:
            problems.append("shapely: the contour is no valid polygon (it crosses itself)")
    return problems


# name, z1, z2, mn, b, beta, x1, x2, segmentCount, backlash
PAIRS = [
    ("initial values", 17, 40, 8.0, 45.0, 20.0, 0.0, 0.0, 10, 0.0),
    ("shifted spur with backlash", 20, 40, 2.0, 20.0, 0.0, 0.2, 0.1, 20, 0.1),
    ("six-tooth shifted pinion", 6, 40, 3.0, 20.0, 30.0, 0.5, 0.0, 9, 0.0),
    ("helical example", 40, 60, 2.0, 20.0, 15.0, 0.3, -0.2, 3, 0.05),
]
PAIR_LAYERS = ["ZAHNRAD1", "ZAHNRAD2", "TEILKREISE", "ACHSEN", "EINGRIFFSLINIE"]


def check_assembly(cli, folder, case):
    name, z1, z2, mn, b, beta, x1, x2, segments, jn = case
    run_kellvor(cli, folder, "--backlash", repr(jn), "--pair", z1=z1, z2=z2, mn=mn, b=b,
                beta=beta, x1=x1, x2=x2, segments=segments)
    doc = ezdxf.readfile(folder / "zahnradpaar.dxf")
    problems = []
    auditor = doc.audit()
    if auditor.has_errors:
        problems += [f"auditor: {error.message}" for error in auditor.errors[:10]]
    if doc.dxfversion != "AC1009" or doc.header.get("$INSUNITS") != 4:
        problems.append(f"version {doc.dxfversion}, units {doc.header.get('$INSUNITS')}")
    layers = {layer.dxf.name for layer in doc.layers}
    missing = [name for name in PAIR_LAYERS if name not in layers]
    if missing:
        problems.append(f"layers missing: {missing}")
    entities = list(doc.modelspace())
    handles = [e.dxf.handle for e in entities]
    if len(set(handles)) != len(handles):
        problems.append("handles are not unique")
    undefined = {e.dxf.layer for e in entities} - layers
    if undefined:
        problems.append(f"entities on undefined layers {sorted(undefined)}")
    for layer, teeth in (("ZAHNRAD1", z1), ("ZAHNRAD2", z2)):
        contour = [e for e in entities if e.dxf.layer == layer]
        arcs = [e for e in contour if e.dxftype() == "ARC"]
        if len(arcs) != teeth:
            problems.append(f"{layer}: {len(arcs)} ARCs for {teeth} teeth")
        found = check_closed_contour(contour, 1e-9 * mn)
        problems += [f"{layer}: {p}" for p in found]
        if not found and not Polygon(contour_points(contour)).is_valid:
            problems.append(f"{layer}: shapely: the contour is no valid polygon")
    return problems


# name, z1, z2, mn, b, beta, x1, x2, segmentCount, root, backlash, pair, pointed tooth
CAM = [
    ("spur example", 20, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 4, "arc", 0.0, False, False),
    ("initial values, pair", 17, 40, 8.0, 45.0, 20.0, 0.0, 0.0, 10, "arc", 0.0, True, False),
    ("helical, generated root, pair with backlash", 40, 60, 2.0, 20.0, 15.0, 0.3, -0.2, 3,
     "generated", 0.05, True, False),
    ("pointed tooth", 4, 40, 2.0, 20.0, 0.0, 0.5, 0.0, 5, "arc", 0.0, False, True),
    ("pointed tooth, generated root", 4, 40, 2.0, 20.0, 0.0, 0.5, 0.0, 5, "generated", 0.0,
     False, True),
    ("pointed pinion, pair", 6, 40, 3.0, 20.0, 0.0, 0.5, 0.0, 9, "arc", 0.0, True, True),
    # Helical, the same pinion keeps a tip land.
    ("helical pinion, pair", 6, 40, 3.0, 20.0, 30.0, 0.5, 0.0, 9, "arc", 0.0, True, False),
    ("undercut, generated root", 8, 40, 1.0, 20.0, 0.0, 0.0, 0.0, 4, "generated", 0.0, False,
     False),
    ("undercut pinion, generated root, pair with backlash", 8, 40, 1.0, 20.0, 0.0, 0.0, 0.0, 6,
     "generated", 0.2, True, False),
    ("outward arc", 8, 40, 1.0, 20.0, 30.0, 0.5, 0.0, 8, "arc", 0.0, False, False),
    ("two points per tooth, pair with backlash", 30, 40, 1.0, 10.0, 0.0, 0.0, 0.0, 0, "arc",
     0.02, True, False),
    ("largest module, pair with backlash", 100, 30, 50.0, 500.0, 30.0, -0.5, 0.5, 12, "arc", 1.0,
     True, False),
    ("many teeth, generated root", 200, 40, 0.5, 5.0, 5.0, 0.1, 0.0, 20, "generated", 0.0,
     False, False),
]


def raw_handles(path):
    """The handles (group 5) of every table entry and entity, read from the file's group code
    and value lines, not through ezdxf, which may mend a drawing as it loads it; the
    header's $HANDSEED, the next free handle, is returned on its own."""
    lines = path.read_text().splitlines()
    pairs = [(code.strip(), value.strip()) for code, value in zip(lines[0::2], lines[1::2])]
    seed = None
    handles = []
    for (code, value), previous in zip(pairs, [(None, None)] + pairs):
        if code == "5" and previous == ("9", "$HANDSEED"):
            seed = value
        elif code == "5":
            handles.append(value)
    return handles, seed


def polyline_pieces(vertices):
    """The closed polyline of (x, y, bulge) vertices as pieces: a straight one where the bulge
    is 0, else the arc it stands for. The bulge is tan(sweep / 4), positive counter-clockwise;
    the centre lies on the chord's perpendicular bisector, (chord / 2) cot(sweep / 2) to its
    left, the radius is (chord / 2) / |sin(sweep / 2)|."""
    pieces = []
    for (x0, y0, bulge), (x1, y1, _) in zip(vertices, vertices[1:] + vertices[:1]):
        if bulge == 0:
            pieces.append(Line((x0, y0), (x1, y1)))
            continue
        sweep = 4 * math.atan(bulge)
        half = math.hypot(x1 - x0, y1 - y0) / 2
        h = half * math.cos(sweep / 2) / math.sin(sweep / 2)
        ux, uy = (x1 - x0) / (2 * half), (y1 - y0) / (2 * half)
        centre = ((x0 + x1) / 2 - uy * h, (y0 + y1) / 2 + ux * h)
        start = math.degrees(math.atan2(y0 - centre[1], x0 - centre[0]))
        pieces.append(Arc(centre, half / abs(math.sin(sweep / 2)), start, math.degrees(sweep),
                          ((x0, y0), (x1, y1))))
    return pieces


def bulge_segments(vertices):
    """The signed areas between each bulged segment and its chord from ezdxf.math's
    bulge_to_arc: a second opinion on the arcs polyline_pieces makes of the bulges."""
    areas = []
    for (x0, y0, bulge), (x1, y1, _) in zip(vertices, vertices[1:] + vertices[:1]):
        if bulge:
            _, start, end, radius = bulge_to_arc((x0, y0), (x1, y1), bulge)
            areas.append(math.copysign(segment_area(radius, (end - start) % math.tau), bulge))
    return areas


def minimal_arcs(path, layer=None):
    """The ARCs of the LINE/ARC contour of a minimal drawing (on layer, if given), as pieces in
    contour order, and the contour's enclosed area and number of entities."""
    entities = [e for e in ezdxf.readfile(path).modelspace()
                if e.dxftype() in ("LINE", "ARC") and layer in (None, e.dxf.layer)]
    pieces = contour_pieces(entities)
    return [p for p in pieces if isinstance(p, Arc)], enclosed_area(pieces), len(entities)


def relative(a, b):
    return abs(a - b) / abs(b)


AREAS = []  # every relative area difference seen, for the summary
SAMPLED = []  # every area difference of the sampled polygon over its bound


def check_polyline(polyline, teeth, reference, size):
    """Problems of one gear's polyline against the minimal drawing: reference is (its ARCs,
    area, number of entities). The polyline must be closed, have one vertex per LINE and ARC,
    a bulge on one vertex per tooth standing for the ARC there (same centre and radius within
    1e-9 of the drawing's size: a short arc gives its centre only to the rounding of its ends
    times the radius over the chord), enclose the same area within 1e-9 relative and, its arcs
    sampled every half degree, bound a valid polygon."""
    arcs, area, count = reference
    vertices = [(v.dxf.location[0], v.dxf.location[1], v.dxf.bulge) for v in polyline.vertices]
    pieces = polyline_pieces(vertices)
    bulged = [p for p in pieces if isinstance(p, Arc)]
    if not polyline.is_closed or len(vertices) != count or len(bulged) != teeth:
        return [f"closed {polyline.is_closed}, {len(vertices)} vertices ({len(bulged)} with a "
                f"bulge), expected closed, {count} ({teeth})"]
    problems = []
    off = max(max(math.dist(p.centre, q.centre), abs(p.radius - q.radius))
              for p, q in zip(bulged, arcs))
    if off > 1e-9 * size:
        problems.append(f"a bulge's arc lies {off!r} from the minimal drawing's ARC")
    own = enclosed_area(pieces)
    AREAS.append(relative(own, area))
    if relative(own, area) > 1e-9:
        problems.append(f"area {own!r}, the minimal drawing's {area!r}")
    mine = [segment_area(p.radius, math.radians(p.sweep)) for p in bulged]
    second = bulge_segments(vertices)
    if abs(sum(mine) - sum(second)) > 1e-12 * sum(map(abs, mine)):
        problems.append(f"the bulges' segments enclose {sum(mine)!r}, by ezdxf.math "
                        f"{sum(second)!r}")
    polygon = Polygon(sampled(pieces, half_degree_steps))
    if not polygon.is_valid:
        problems.append("shapely: the sampled polyline is no valid polygon")
    # Shapely's area of the sampled polygon, a measure of its own: each chord of an arc
    # sampled in steps of d cuts off r^2 (d - sin d) / 2 <= r^2 d^3 / 12, at most
    # r^2 |sweep| d^2 / 12 an arc.
    bound = sum(p.radius ** 2 * abs(math.radians(p.sweep))
                * (math.radians(p.sweep) / half_degree_steps(p.radius, abs(p.sweep))) ** 2 / 12
                for p in bulged)
    SAMPLED.append(abs(polygon.area - abs(own)) / bound)
    if abs(polygon.area - abs(own)) > bound + 1e-12 * abs(own):
        problems.append(f"shapely's area of the sampled polyline {polygon.area!r} differs from "
                        f"{own!r} by more than the sampling's {bound!r}")
    return problems


def check_cam_drawing(path, gears, mn, layers):
    """Problems of a CAM drawing: gears are (layer, teeth, reference for check_polyline), layers
    those the drawing defines besides the gears'. The auditor finds no error, the drawing is
    R12 in millimetres, handles (read from the file) are unique and below $HANDSEED, every
    entity's layer is defined, each gear is one POLYLINE alone on its layer, and its vertices
    lie within $EXTMIN and $EXTMAX. The auditor mends nothing either: what it would mend is
    a fault of the drawing as written."""
    doc = ezdxf.readfile(path)
    # The layers as written: the auditor adds a layer an entity names but the table lacks,
    # and quietly puts every VERTEX on its POLYLINE's layer.
    defined = {layer.dxf.name for layer in doc.layers}
    entities = list(doc.modelspace())
    used = {e.dxf.layer for e in entities}
    used |= {v.dxf.layer for e in entities if e.dxftype() == "POLYLINE" for v in e.vertices}
    problems = []
    auditor = doc.audit()
    problems += [f"auditor: {e.message}" for e in (auditor.errors + auditor.fixes)[:10]]
    if doc.dxfversion != "AC1009" or doc.header.get("$INSUNITS") != 4:
        problems.append(f"version {doc.dxfversion}, units {doc.header.get('$INSUNITS')}")
    handles, seed = raw_handles(path)
    if len(set(handles)) != len(handles):
        problems.append("handles are not unique")
    if seed is None or max(int(h, 16) for h in handles) >= int(seed, 16):
        problems.append(f"$HANDSEED {seed} is not above every handle")
    missing = [name for name in [g[0] for g in gears] + layers if name not in defined]
    if missing:
        problems.append(f"layers missing: {missing}")
    if used - defined:
        problems.append(f"entities on undefined layers {sorted(used - defined)}")
    low, high = doc.header.get("$EXTMIN"), doc.header.get("$EXTMAX")
    size = math.dist(low, high)
    for layer, teeth, reference in gears:
        on_layer = [e for e in entities if e.dxf.layer == layer]
        if len(on_layer) != 1 or on_layer[0].dxftype() != "POLYLINE":
            problems.append(f"{layer}: {[e.dxftype() for e in on_layer][:5]}, expected one "
                            "POLYLINE alone")
            continue
        outside = [v for v in on_layer[0].points()
                   if not all(low[k] - 1e-9 * mn <= v[k] <= high[k] + 1e-9 * mn for k in (0, 1))]
        if outside:
            problems.append(f"{layer}: {len(outside)} vertices outside $EXTMIN {low}, "
                            f"$EXTMAX {high}")
        problems += [f"{layer}: {p}" for p in check_polyline(on_layer[0], teeth, reference, size)]
    return problems


def check_cam(cli, folder, case):
    """The same gear written minimal and --dxf-style cam into two folders; each CAM drawing
    against the minimal one: zahnrad.dxf, and with --pair zahnrad2.dxf and zahnradpaar.dxf,
    whose gears enclose the areas of their own drawings (the assembly moves them rigidly) and
    whose bulges stand for the ARCs of the minimal assembly."""
    name, z1, z2, mn, b, beta, x1, x2, segments, root, jn, pair, pointed = case
    values = dict(z1=z1, z2=z2, mn=mn, b=b, beta=beta, x1=x1, x2=x2, segments=segments)
    options = ["--root", root, "--backlash", repr(jn)] + (["--pair"] if pair else [])
    minimal, cam = folder / "minimal", folder / "cam"
    minimal.mkdir()
    cam.mkdir()
    n = points_per_tooth(run_kellvor(cli, minimal, *options, **values))
    run_kellvor(cli, cam, *options, "--dxf-style", "cam", **values)
    problems = []
    own = [minimal_arcs(minimal / "zahnrad.dxf")]
    # One vertex per LINE and ARC of the minimal drawing: N per tooth, N - 1 for a pointed
    # tooth, whose tip land has no length and is left out.
    if own[0][2] != z1 * (n - 1 if pointed else n):
        problems.append(f"the minimal drawing has {own[0][2]} entities for z1 = {z1}, N = {n}"
                        f"{', pointed' if pointed else ''}")
    drawings = [("zahnrad.dxf", [("ZAHNRAD1", z1, own[0])], [])]
    if pair:
        own.append(minimal_arcs(minimal / "zahnrad2.dxf"))
        assembly = [("ZAHNRAD1", z1), ("ZAHNRAD2", z2)]
        placed = [minimal_arcs(minimal / "zahnradpaar.dxf", layer) for layer, _ in assembly]
        drawings += [("zahnrad2.dxf", [("ZAHNRAD2", z2, own[1])], []),
                     ("zahnradpaar.dxf", [(layer, teeth, (arcs, area, count))
                                          for (layer, teeth), (arcs, _, _), (_, area, count)
                                          in zip(assembly, placed, own)], PAIR_LAYERS[2:])]
    for file, gears, layers in drawings:
        problems += [f"{file}: {p}" for p in check_cam_drawing(cam / file, gears, mn, layers)]
    return problems


def main():
    checks = ([(case[0], check_drawing, case) for case in INPUTS]
              + [(f"pair, {case[0]}", check_assembly, case) for case in PAIRS]
              + [(f"CAM, {case[0]}", check_cam, case) for case in CAM])
    code = run_checks(__doc__, "kellvor_ezdxf_", checks, lambda total, failed:
                      f"ezdxf {ezdxf.__version__}: {total - failed} of {total} drawings pass")
    if AREAS:
        print(f"CAM polylines: largest relative area difference {max(AREAS):.1e}, sampled "
              f"polygons' area differences {min(SAMPLED):.2f} .. {max(SAMPLED):.2f} of their "
              "bound")
    return code


if __name__ == "__main__":
    sys.exit(main())
