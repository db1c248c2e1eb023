#!/usr/bin/python3
"""Opens SVG drawings written by kellvor-cli with independent readers and checks them.

Usage: svg_reader_check.py <kellvor-cli>

For each input kellvor-cli writes zahnrad.svg with zahnrad.dxf into a temporary folder.
svgelements (Debian's python3-svgelements) parses the SVG: the document's width and height are
given in millimetres and equal the viewBox's size (one drawing unit is one millimetre), it holds
one path, id "zahnrad1", with a title, no fill and a stroke; the path starts with one move,
holds one arc per tooth and ends closed at its first point; its length equals the length of the
DXF drawing's contour (LINEs and ARCs read with ezdxf) to 1e-9 relative, its start point is the
DXF's first point and each arc's centre (which the arc's flags choose) the DXF ARC's centre, y
flipped. rsvg-convert (librsvg, Debian's librsvg2-bin) must then
render it to a PNG without complaint.
"""

import math
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path

import ezdxf
import svgelements

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "data"))
from check_common import Arc, contour_length, contour_pieces, run_checks, run_kellvor  # noqa: E402

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

SVG_NS = "{http://www.w3.org/2000/svg}"


def dxf_contour(path):
    """Length of the LINEs and ARCs of a DXF drawing, the contour's first point and the ARCs'
    centres in drawing order."""
    pieces = contour_pieces(ezdxf.readfile(path).modelspace())
    return (contour_length(pieces), pieces[0].start,
            [p.centre for p in pieces if isinstance(p, Arc)])


def millimetres(text):
    if not text.endswith("mm"):
        raise ValueError(f"{text!r} is not in millimetres")
    return float(text[:-2])


def check_svg(cli, folder, case):
    name, z1, mn, beta, x1, segments, root = case
    run_kellvor(cli, folder, "--root", root, "--svg", z1=z1, mn=mn, beta=beta, x1=x1,
                segments=segments)
    problems = []
    svg_path = folder / "zahnrad.svg"

    # The document as plain XML: size, viewBox, title, one path with its attributes.
    root_element = ElementTree.parse(svg_path).getroot()
    width = millimetres(root_element.get("width"))
    height = millimetres(root_element.get("height"))
    box = [float(v) for v in root_element.get("viewBox").split()]
    if abs(box[2] - width) > 1e-12 * width or abs(box[3] - height) > 1e-12 * height:
        problems.append(f"viewBox {box} does not match {width} mm x {height} mm")
    title = root_element.find(SVG_NS + "title")
    if title is None or f"z1 = {z1}," not in title.text:
        problems.append("no title with the inputs")
    paths = root_element.findall(SVG_NS + "path")
    if len(paths) != 1 or paths[0].get("id") != "zahnrad1":
        problems.append(f"{len(paths)} paths, expected one with id zahnrad1")
        return problems
    if paths[0].get("fill") != "none" or not paths[0].get("stroke"):
        problems.append("the path is filled or has no stroke")

    # The path through svgelements: segments, closure, length.
    parsed = svgelements.SVG.parse(str(svg_path), ppi=25.4)  # 1 mm = 1 user unit
    shapes = [e for e in parsed.elements() if isinstance(e, svgelements.Path)]
    path = svgelements.Path(paths[0].get("d"))
    segments_ = list(path.segments())
    moves = [s for s in segments_ if isinstance(s, svgelements.Move)]
    arcs = [s for s in segments_ if isinstance(s, svgelements.Arc)]
    if len(shapes) != 1 or len(moves) != 1 or len(arcs) != z1:
        problems.append(f"{len(shapes)} paths, {len(moves)} moves, {len(arcs)} arcs")
    if not isinstance(segments_[-1], svgelements.Close):
        problems.append("the path is not closed")
    start, end = segments_[0].end, segments_[-2].end
    if abs(start - end) > 1e-12 * width:
        problems.append(f"the path ends at {end}, not at its start {start}")
    dxf_length, dxf_first, dxf_centres = dxf_contour(folder / "zahnrad.dxf")
    # The arc's flags pick one of two circles through its ends: it must be the DXF's. (A short
    # arc of a large circle gives its centre only to about the rounding of its ends times the
    # radius over the chord, hence a billionth of the drawing's size.)
    off = max((math.hypot(a.center.x - c[0], a.center.y + c[1])
               for a, c in zip(arcs, dxf_centres)), default=0.0)
    if off > 1e-9 * width:
        problems.append(f"an arc's centre lies {off!r} from the DXF ARC's (y flipped)")
    svg_length = path.length()
    if abs(svg_length - dxf_length) > 1e-9 * dxf_length:
        problems.append(f"length {svg_length!r}, the DXF contour's {dxf_length!r}")
    if math.hypot(start.x - dxf_first[0], start.y + dxf_first[1]) > 1e-12 * width:
        problems.append(f"starts at {start}, the DXF at {dxf_first} (y flipped)")

    # A renderer that draws it.
    png = folder / "zahnrad.png"
    render = subprocess.run(["rsvg-convert", "--unlimited", "-w", "256", "-o", str(png),
                             str(svg_path)], capture_output=True, text=True, check=False)
    if render.returncode != 0 or render.stderr or png.read_bytes()[:8] != b"\x89PNG\r\n\x1a\n":
        problems.append(f"rsvg-convert failed ({render.returncode}): {render.stderr.strip()}")
    return problems


def main():
    return run_checks(__doc__, "kellvor_svg_", [(case[0], check_svg, case) for case in INPUTS],
                      lambda total, failed: f"svgelements {svgelements.SVGELEMENTS_VERSION}: "
                                            f"{total - failed} of {total} drawings pass")


if __name__ == "__main__":
    sys.exit(main())
