#!/usr/bin/python3
"""Opens drawings written by kellvor-cli with ezdxf, an independent DXF reader, and checks them.

Usage: dxf_reader_check.py <kellvor-cli>

For each input (with the three-point root arc or the generated root) the drawing must load, pass
ezdxf's auditor without errors, hold z1 (N - 1) LINEs (N as kellvor-cli prints it) and z1 ARCs with unique handles from 27 on (a pointed tooth has no tip land: that LINE is
left out and its handle skipped), and form one closed contour: every end point of a LINE
or ARC (arc end points from centre, radius and angles) meets exactly one end point of another
entity within 1e-9 of the module, and following those meetings visits every entity once.
Shapely (GEOS, a second independent library) then checks that the contour, its arcs sampled
finely, bounds a valid polygon: it never crosses or touches itself.

For some inputs the pair is written as well (--pair): zahnradpaar.dxf must load and pass the
auditor, be an R12 drawing in millimetres, hold the layers ZAHNRAD1, ZAHNRAD2, TEILKREISE,
ACHSEN and EINGRIFFSLINIE, and on each gear's layer the LINEs and ARCs must form one closed
contour that bounds a valid polygon (the same checks as for zahnrad.dxf). Unique handles and
defined layers, which the auditor does not check, are tested as well.
"""

import sys
from pathlib import Path

import ezdxf
from shapely.geometry import Polygon

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "data"))
from check_common import (contour_points, end_points, points_per_tooth,  # noqa: E402
                          run_checks, run_kellvor)

# name, z1, z2, mn, b, beta, x1, x2, segmentCount[, root]
INPUTS = [
    ("spur example", 20, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 4),
    ("initial values", 17, 40, 8.0, 45.0, 20.0, 0.0, 0.0, 10),
    ("helical example", 40, 60, 2.0, 20.0, 15.0, 0.3, -0.2, 3),
    ("two points per tooth", 30, 40, 1.0, 10.0, 0.0, 0.0, 0.0, 0),
    ("four teeth", 4, 4, 2.0, 20.0, 0.0, 0.0, 0.0, 6),
    ("pointed tooth", 4, 40, 2.0, 20.0, 0.0, 0.5, 0.0, 5),
    ("pointed helical tooth", 6, 40, 3.0, 20.0, 30.0, 0.5, 0.0, 9),
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
    ("pointed pinion", 6, 40, 3.0, 20.0, 30.0, 0.5, 0.0, 9, 0.0),
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


def main():
    checks = ([(case[0], check_drawing, case) for case in INPUTS]
              + [(f"pair, {case[0]}", check_assembly, case) for case in PAIRS])
    return run_checks(__doc__, "kellvor_ezdxf_", checks, lambda total, failed:
                      f"ezdxf {ezdxf.__version__}: {total - failed} of {total} drawings pass")


if __name__ == "__main__":
    sys.exit(main())
