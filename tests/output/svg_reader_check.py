#!/usr/bin/python3
"""Opens SVG drawings written by kellvor-cli with independent readers and checks them.

Usage: svg_reader_check.py <kellvor-cli>

For each input kellvor-cli writes zahnrad.svg with zahnrad.dxf into a temporary folder.
svgelements (Debian's python3-svgelements) parses the SVG: the document's width and height are
given in millimetres and equal the viewBox's size (one drawing unit is one millimetre), it holds
one path, id "zahnrad1", with a title, no fill and a stroke, drawn with no transform but the
viewBox's; the path starts with one move, holds one arc per tooth and ends closed at its first
point; its length equals the length of the DXF drawing's contour (LINEs and ARCs read with
ezdxf) to 1e-9 relative, its start point is the DXF's first point and each arc's centre (which
the arc's flags choose) the DXF ARC's centre, y flipped. rsvg-convert (librsvg, Debian's
librsvg2-bin) must then render it to a PNG without complaint.

For each pair (--pair --svg, with either root and with backlash) zahnradpaar.svg is read the
same way: two paths, ids "zahnrad1" and "zahnrad2", each closed with one move and z1 resp. z2
arcs; each as long as its own gear's DXF contour of the same run (zahnrad.dxf, zahnrad2.dxf) to
1e-9 relative, starting where zahnradpaar.dxf's contour on ZAHNRAD1 resp. ZAHNRAD2 starts and
with that layer's ARC centres, y flipped. The mean of each path's arc centres, one per tooth
evenly round the gear, is its gear's centre: (0, 0) for gear 1 and (0, -a) for gear 2 within
1e-9 a, a the centre distance from the gear formulas (zahnradwerte.txt's "Achsabstand a=",
six digits, agrees). rsvg-convert renders it. The largest relative length difference and the
largest distance of a pair's gear centre from its place are printed last.
"""

import math
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path

import ezdxf
import svgelements

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "data"))
from check_common import (Arc, centre_distance, contour_length, contour_pieces,  # noqa: E402
                          run_checks, run_kellvor)

# name, z1, mn, beta, x1, segmentCount, root
INPUTS = [
    ("initial values", 17, 8.0, 20.0, 0.0, 10, "arc"),
    ("spur example", 20, 2.0, 0.0, 0.0, 4, "arc"),
    ("pointed tooth", 4, 2.0, 0.0, 0.5, 5, "arc"),
    ("outward arc", 8, 1.0, 30.0, 0.5, 8, "arc"),
    ("two points per tooth", 30, 1.0, 0.0, 0.0, 0, "arc"),
    ("generated root, helical", 17, 8.0, 20.0, 0.0, 10, "generated"),
    ("generated root, undercut", 8, 1.0, 0.0, 0.0, 6, "generated"),
    ("generated root, shifted", 30, 2.0, 25.0, 0.5, 40, "generated"),
    ("generated root, many teeth", 400, 0.5, 10.0, 0.2, 3, "generated"),
]

# name, z1, z2, mn, beta, x1, x2, segmentCount, root, backlash
PAIRS = [
    ("initial values", 17, 40, 8.0, 20.0, 0.0, 0.0, 10, "arc", 0.0),
    ("shifted spur with backlash", 20, 40, 2.0, 0.0, 0.2, 0.1, 20, "arc", 0.1),
    ("six-tooth shifted pinion", 6, 40, 3.0, 30.0, 0.5, 0.0, 9, "arc", 0.0),
    ("generated root, helical with backlash", 40, 60, 2.0, 15.0, 0.3, -0.2, 3, "generated",
     0.05),
    ("generated root, undercut pinion", 8, 40, 1.0, 0.0, 0.0, 0.0, 6, "generated", 0.0),
    ("generated root, many teeth with backlash", 150, 31, 0.5, 10.0, 0.2, -0.1, 3, "generated",
     0.2),
]

SVG_NS = "{http://www.w3.org/2000/svg}"

# What the pairs measure, for the summary: each path's length against its DXF contour's,
# relative, and each gear's centre from where it belongs, over a.
MEASURED = {"length": [], "centre": []}


def dxf_contour(path, layer=None):
    """Length of the LINEs and ARCs of a DXF drawing (on layer, if given), the contour's first
    point and the ARCs' centres in drawing order."""
    pieces = contour_pieces([e for e in ezdxf.readfile(path).modelspace()
                             if e.dxftype() in ("LINE", "ARC") and layer in (None, e.dxf.layer)])
    return (contour_length(pieces), pieces[0].start,
            [p.centre for p in pieces if isinstance(p, Arc)])


def millimetres(text):
    if not text.endswith("mm"):
        raise ValueError(f"{text!r} is not in millimetres")
    return float(text[:-2])


def check_document(svg_path, ids, inputs):
    """The document as plain XML: width and height in millimetres equal to the viewBox's size,
    a title naming the inputs, the paths with these ids in this order, each unfilled and
    stroked; svgelements finds as many paths. Returns the problems, the width and the paths'
    data by id (None when the paths are not the ones expected)."""
    problems = []
    root_element = ElementTree.parse(svg_path).getroot()
    try:
        width = millimetres(root_element.get("width"))
        height = millimetres(root_element.get("height"))
    except ValueError as error:
        return [str(error)], None, None
    box = [float(v) for v in root_element.get("viewBox").split()]
    if abs(box[2] - width) > 1e-12 * width or abs(box[3] - height) > 1e-12 * height:
        problems.append(f"viewBox {box} does not match {width} mm x {height} mm")
    title = root_element.find(SVG_NS + "title")
    if title is None or inputs not in title.text:
        problems.append("no title with the inputs")
    paths = root_element.findall(SVG_NS + "path")
    if [p.get("id") for p in paths] != ids:
        problems.append(f"{len(paths)} paths, expected {len(ids)} with ids {ids}")
        return problems, width, None
    if any(p.get("fill") != "none" or not p.get("stroke") for p in paths):
        problems.append("a path is filled or has no stroke")
    # 1 mm = 1 user unit; unreified, each path keeps the transform it is drawn with.
    parsed = svgelements.SVG.parse(str(svg_path), ppi=25.4, reify=False)
    shapes = [e for e in parsed.elements() if isinstance(e, svgelements.Path)]
    if len(shapes) != len(ids):
        problems.append(f"svgelements finds {len(shapes)} paths")
    # The paths' data are the drawing's coordinates: each path is drawn with nothing but the
    # mapping of the viewBox onto the page, a move of its corner to the origin. (svgelements
    # turns millimetres into user units with 1 / 25.4 rounded to 0.0393701, so the scale is
    # one only to 1e-6.)
    for shape in shapes:
        m = shape.transform
        if (abs(m.a - 1) > 1e-5 or m.d != m.a or m.b != 0 or m.c != 0
                or math.hypot(m.e + box[0] * m.a, m.f + box[1] * m.a) > 1e-9 * width):
            matrix = (m.a, m.b, m.c, m.d, m.e, m.f)
            problems.append(f"{shape.id} is drawn with the transform {matrix}, the viewBox's "
                            f"corner is {box[:2]}")
    return problems, width, {p.get("id"): p.get("d") for p in paths}


def check_path(data, teeth, length, first, centres, width):
    """The path through svgelements: one move, one arc per tooth, closed at its first point,
    as long as the DXF contour (length, 1e-9 relative), starting at the DXF's first point and
    each arc's centre (which the arc's flags choose) the DXF ARC's, y flipped. Returns the
    problems and the arcs."""
    problems = []
    path = svgelements.Path(data)
    segments = list(path.segments())
    moves = [s for s in segments if isinstance(s, svgelements.Move)]
    arcs = [s for s in segments if isinstance(s, svgelements.Arc)]
    if len(moves) != 1 or len(arcs) != teeth:
        problems.append(f"{len(moves)} moves, {len(arcs)} arcs for {teeth} teeth")
    if not isinstance(segments[-1], svgelements.Close):
        problems.append("the path is not closed")
    start, end = segments[0].end, segments[-2].end
    if abs(start - end) > 1e-12 * width:
        problems.append(f"the path ends at {end}, not at its start {start}")
    # The arc's flags pick one of two circles through its ends: it must be the DXF's. (A short
    # arc of a large circle gives its centre only to about the rounding of its ends times the
    # radius over the chord, hence a billionth of the drawing's size.)
    off = max((math.hypot(a.center.x - c[0], a.center.y + c[1])
               for a, c in zip(arcs, centres)), default=0.0)
    if off > 1e-9 * width:
        problems.append(f"an arc's centre lies {off!r} from the DXF ARC's (y flipped)")
    svg_length = path.length()
    MEASURED["length"].append(abs(svg_length - length) / length)
    if abs(svg_length - length) > 1e-9 * length:
        problems.append(f"length {svg_length!r}, the DXF contour's {length!r}")
    if math.hypot(start.x - first[0], start.y + first[1]) > 1e-12 * width:
        problems.append(f"starts at {start}, the DXF at {first} (y flipped)")
    return problems, arcs


def check_rendering(svg_path):
    """A renderer that draws it: rsvg-convert writes a PNG without complaint."""
    png = svg_path.with_suffix(".png")
    render = subprocess.run(["rsvg-convert", "--unlimited", "-w", "256", "-o", str(png),
                             str(svg_path)], capture_output=True, text=True, check=False)
    if render.returncode != 0 or render.stderr or png.read_bytes()[:8] != b"\x89PNG\r\n\x1a\n":
        return [f"rsvg-convert failed ({render.returncode}): {render.stderr.strip()}"]
    return []


def check_svg(cli, folder, case):
    name, z1, mn, beta, x1, segments, root = case
    run_kellvor(cli, folder, "--root", root, "--svg", z1=z1, mn=mn, beta=beta, x1=x1,
                segments=segments)
    svg_path = folder / "zahnrad.svg"
    problems, width, paths = check_document(svg_path, ["zahnrad1"], f"z1 = {z1},")
    if paths is None:
        return problems
    length, first, centres = dxf_contour(folder / "zahnrad.dxf")
    problems += check_path(paths["zahnrad1"], z1, length, first, centres, width)[0]
    return problems + check_rendering(svg_path)


def check_pair(cli, folder, case):
    """zahnradpaar.svg against the DXF drawings of the same run: each gear's path as long as
    its own drawing's contour, placed where the assembly places it, its arcs' centres (one per
    tooth, evenly round the gear) about the gear's centre: (0, 0) for gear 1, (0, -a) for
    gear 2, the centre distance a from the gear formulas."""
    name, z1, z2, mn, beta, x1, x2, segments, root, jn = case
    run_kellvor(cli, folder, "--root", root, "--backlash", repr(jn), "--pair", "--svg", z1=z1,
                z2=z2, mn=mn, beta=beta, x1=x1, x2=x2, segments=segments)
    svg_path = folder / "zahnradpaar.svg"
    problems, width, paths = check_document(svg_path, ["zahnrad1", "zahnrad2"],
                                            f"z1 = {z1}, z2 = {z2},")
    if paths is None:
        return problems
    a = centre_distance(z1, z2, mn, beta, x1, x2)
    # zahnradwerte.txt gives a to six digits: a check of the formula, not of the drawing.
    written = [line.split("=", 1)[1] for line in
               (folder / "zahnradwerte.txt").read_text().splitlines()
               if line.startswith("Achsabstand a=")]
    if len(written) != 1 or abs(float(written[0]) - a) > 5e-6 * a:
        problems.append(f"zahnradwerte.txt: Achsabstand a={written}, from the formulas {a!r}")
    for gear, teeth, own, layer, centre in (("zahnrad1", z1, "zahnrad.dxf", "ZAHNRAD1", (0, 0)),
                                            ("zahnrad2", z2, "zahnrad2.dxf", "ZAHNRAD2", (0, -a))):
        length = dxf_contour(folder / own)[0]
        first, centres = dxf_contour(folder / "zahnradpaar.dxf", layer)[1:]
        found, arcs = check_path(paths[gear], teeth, length, first, centres, width)
        problems += [f"{gear}: {p}" for p in found]
        if not arcs:
            continue
        mean = (sum(arc.center.x for arc in arcs) / len(arcs),
                sum(arc.center.y for arc in arcs) / len(arcs))
        MEASURED["centre"].append(math.dist(mean, centre) / a)
        if math.dist(mean, centre) > 1e-9 * a:
            problems.append(f"{gear}: its arcs' centres lie about {mean}, not {centre}")
    return problems + check_rendering(svg_path)


def main():
    checks = ([(case[0], check_svg, case) for case in INPUTS]
              + [(f"pair, {case[0]}", check_pair, case) for case in PAIRS])
    code = run_checks(__doc__, "kellvor_svg_", checks,
                      lambda total, failed: f"svgelements {svgelements.SVGELEMENTS_VERSION}: "
                                            f"{total - failed} of {total} drawings pass")
    if MEASURED["centre"]:
        print(f"largest relative length difference {max(MEASURED['length']):.1e}, largest "
              f"distance of a pair's gear centre from its place {max(MEASURED['centre']):.1e} a")
    return code


if __name__ == "__main__":
    sys.exit(main())
