#!/usr/bin/env python3
"""Draws the program icon (a blue spur gear on a transparent ground) as 16x16 and 32x32 PNGs.

Run from any folder; it writes kellvor-16.png and kellvor-32.png beside itself. Only the standard
library is used, so the icons can be remade on a bare build machine.
"""
import math
import os
import struct
import zlib

TEETH = 8
SUPERSAMPLE = 8


def inside_gear(x, y, size):
    """True when (x, y), in pixels from the top left, lies on the gear's face."""
    c = size / 2.0
    dx, dy = x - c, y - c
    r = math.hypot(dx, dy)
    tip, root, bore = 0.47 * size, 0.36 * size, 0.13 * size
    if r < bore or r > tip:
        return False
    if r <= root:
        return True
    # A tooth is a trapezoid in angle: wide at the root, narrower at the tip.
    pitch = 2 * math.pi / TEETH
    phase = (math.atan2(dy, dx) + pitch / 4) % pitch - pitch / 2
    half_width = pitch * (0.30 - 0.12 * (r - root) / (tip - root))
    return abs(phase) <= half_width


def shade(x, y, size):
    """Blue face, lighter towards the upper left, as if lit from there."""
    t = ((x + y) / (2.0 * size))
    return (int(40 + 60 * (1 - t)), int(70 + 80 * (1 - t)), int(200 + 55 * (1 - t)))


def render(size):
    rows = []
    for py in range(size):
        row = bytearray([0])  # PNG filter type: none
        for px in range(size):
            hits = 0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    if inside_gear(px + (sx + 0.5) / SUPERSAMPLE, py + (sy + 0.5) / SUPERSAMPLE,
                                   size):
                        hits += 1
            r, g, b = shade(px + 0.5, py + 0.5, size)
            row += bytes((r, g, b, round(255 * hits / SUPERSAMPLE ** 2)))
        rows.append(bytes(row))
    return b"".join(rows)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, size):
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
           chunk(b"IDAT", zlib.compress(render(size), 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for size in (16, 32):
        write_png(os.path.join(here, "kellvor-%d.png" % size), size)
