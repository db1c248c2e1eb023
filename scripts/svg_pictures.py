#!/usr/bin/python3
"""Remakes the README's SVG pictures from kellvor-cli's own SVG drawings with rsvg-convert.

Usage: python3 scripts/svg_pictures.py [build/release/src/cli/kellvor-cli]

docs/zahnrad_svg.png: zahnrad.svg of the dialog's initial values with the generated root, as
rsvg-convert renders it (the hairline drawn 0.25 mm wide through a style sheet, so that it shows
at this size). docs/zahnfuss.png: one gap of an undercut gear (z1 = 12, x1 = -0.5, mn = 2) drawn
with the three-point arc (grey) and with the generated root (black): both paths of zahnrad.svg
in one document whose viewBox is narrowed to the gap, turned upright.
"""

import math
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SVG_NS = "{http://www.w3.org/2000/svg}"


def write_svg(cli, folder, args):
    subprocess.run([cli, *args, "--svg", "--output-dir", str(folder)], check=True,
                   capture_output=True)
    return folder / "zahnrad.svg"


def path_data(svg):
    return ElementTree.parse(svg).getroot().find(SVG_NS + "path").get("d")


def render(svg, png, width, css=None):
    args = ["rsvg-convert", "-b", "white", "-w", str(width), "-o", str(png)]
    if css:
        args += ["-s", str(css)]
    subprocess.run(args + [str(svg)], check=True)


def main():
    cli = sys.argv[1] if len(sys.argv) > 1 else str(ROOT / "build/release/src/cli/kellvor-cli")
    docs = ROOT / "docs"
    with tempfile.TemporaryDirectory(prefix="kellvor_pictures_") as tmp:
        tmp = Path(tmp)
        css = tmp / "line.css"
        css.write_text("path { stroke-width: 0.25; }\n")
        initial = write_svg(cli, tmp, ["--root", "generated"])
        render(initial, docs / "zahnrad_svg.png", 480, css)

        z, mn, x = 12, 2.0, -0.5
        gear = ["--z1", str(z), "--mn", repr(mn), "--beta", "0", "--x1", repr(x),
                "--segments", "40"]
        arc = path_data(write_svg(cli, tmp, gear + ["--root", "arc"]))
        generated = path_data(write_svg(cli, tmp, gear + ["--root", "generated"]))
        # The gap after the first tooth lies half a pitch clockwise of +y: turned back by half
        # a pitch (counter-clockwise on the page, where y runs down) it stands upright. A
        # square of one pitch around the middle of the tooth height.
        middle = z * mn / 2 + (x - 0.125) * mn
        side = math.pi * mn
        closeup = tmp / "zahnfuss.svg"
        closeup.write_text(
            '<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="100mm" '
            f'height="100mm" viewBox="{-side / 2} {-middle - side / 2} {side} {side}">\n'
            f'<g transform="rotate({-180 / z})" fill="none" stroke-width="0.025">\n'
            f'<path stroke="#999999" d="{arc}"/>\n'
            f'<path stroke="#000000" d="{generated}"/>\n'
            '</g>\n'
            f'<g font-family="DejaVu Sans" font-size="{side / 26}">\n'
            f'<text x="{-side * 0.46}" y="{-middle + side * 0.40}" fill="#999999">'
            'Kreisbogen durch drei Punkte (--root arc)</text>\n'
            f'<text x="{-side * 0.46}" y="{-middle + side * 0.46}" fill="#000000">'
            'erzeugter Zahnfuß (--root generated)</text>\n'
            '</g>\n</svg>\n')
        render(closeup, docs / "zahnfuss.png", 480)
    print("docs/zahnrad_svg.png, docs/zahnfuss.png")
    return 0


if __name__ == "__main__":
    sys.exit(main())
