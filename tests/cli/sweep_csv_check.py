#!/usr/bin/env python3
"""Reads the CSV of a kellvor-cli sweep with Python's csv module and checks it independently.

A grid over z1 (from 2, below the range), x1 and beta must give one row per point in grid order
with the inputs FROM + i*STEP exactly; every real is the shortest text that reads back; the rows
of pairs in range agree with the textbook formulas for the diameters, the overlap ratio, x_min,
the centre distance and the tip clearance; rows out of range carry only their inputs and
"range"; --only-ok to standard output keeps exactly the rows without a code.
Usage: sweep_csv_check.py <kellvor-cli>
"""
import csv
import io
import math
import os
import re
import subprocess
import sys
import tempfile

HEADER = ("z1,z2,mn,b,beta,x1,x2,segments,a,alphawt_deg,epsilon_alpha,epsilon_beta,da1,da2,"
          "df1,df2,san1,san2,x_min1,x_min2,c,findings").split(",")
CODE = r"((undercut|pointed|thin_tip|interference)[12]|no_mesh|contact_ratio|tip_clearance)"
FINDINGS = re.compile(rf"^({CODE}(;{CODE})*)?$")
ALPHA_N = math.radians(20)
GRID = ["--mn", "2", "--z2", "37", "--b", "30", "--x2", "0.1", "--sweep", "z1=2:30:1",
        "--sweep", "x1=-0.5:0.5:0.05", "--sweep", "beta=0:30:7.5"]

failures = []


def check(condition, message):
    if not condition and len(failures) < 20:
        failures.append(message)


def near(value, expected, tolerance):
    return abs(value - expected) <= tolerance * max(1.0, abs(expected))


def shortest(text):
    """The text reads back, and no repr-style form of the same double is shorter."""
    value = float(text)
    return math.isnan(value) and text == "nan" or len(text) <= len(repr(value))


def check_row(row, z1, x1, beta):
    check(len(row) == 22, f"{row}: {len(row)} fields")
    check(row[0] == str(z1) and float(row[5]) == x1 and float(row[4]) == beta,
          f"{row[:8]} is not z1={z1}, x1={x1!r}, beta={beta!r}")
    if z1 < 4:
        check(row[8:] == [""] * 13 + ["range"], f"range row {row}")
        return
    check(all(shortest(t) for t in row[2:7] + row[8:21]), f"not shortest: {row}")
    check(FINDINGS.match(row[21]) is not None, f"findings {row[21]!r}")
    v = {name: float(text) for name, text in zip(HEADER[:21], row[:21])}
    cos_b = math.cos(math.radians(beta))
    alpha_t = math.atan(math.tan(ALPHA_N) / cos_b)
    for gear, z, x in ((1, z1, x1), (2, 37, 0.1)):
        d = z * 2 / cos_b
        check(near(v[f"da{gear}"], d + 4 * (1 + x), 1e-12), f"da{gear} {row}")
        check(near(v[f"df{gear}"], d - 4 * (1.25 - x), 1e-12), f"df{gear} {row}")
        x_min = 1.25 - 0.38 * (1 - math.sin(ALPHA_N)) - z * math.sin(alpha_t) ** 2 / (2 * cos_b)
        check(near(v[f"x_min{gear}"], x_min, 1e-12), f"x_min{gear} {row}")
    check(near(v["epsilon_beta"], 30 * math.sin(math.radians(beta)) / (math.pi * 2), 1e-12),
          f"epsilon_beta {row}")
    if "no_mesh" in row[21]:
        check(all(math.isnan(v[k]) for k in ("a", "alphawt_deg", "c")), f"no mesh {row}")
        return
    ad = (z1 + 37) * 2 / (2 * cos_b)
    a = ad * math.cos(alpha_t) / math.cos(math.radians(v["alphawt_deg"]))
    check(near(v["a"], a, 1e-9), f"a {row}")
    c = v["a"] - max(v["da1"] + v["df2"], v["da2"] + v["df1"]) / 2
    check(near(v["c"], c, 1e-12), f"c {row}")


def main():
    cli = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "sweep.csv")
        subprocess.run([cli, *GRID, "--csv", path], check=True, capture_output=True, timeout=120)
        with open(path, newline="", encoding="ascii") as f:
            rows = list(csv.reader(f))
        ok = subprocess.run([cli, *GRID, "--csv", "-", "--only-ok"], check=True,
                            capture_output=True, timeout=120).stdout.decode("ascii")
    check(rows[0] == HEADER, f"header {rows[0]}")
    points = [(z1, -0.5 + i * 0.05, 0 + j * 7.5)
              for z1 in range(2, 31) for i in range(21) for j in range(5)]
    check(len(rows) == len(points) + 1, f"{len(rows) - 1} rows for {len(points)} points")
    for row, point in zip(rows[1:], points):
        check_row(row, *point)
    kept = [rows[0]] + [r for r in rows[1:] if r[21] == ""]
    check(list(csv.reader(io.StringIO(ok))) == kept, "--only-ok rows")
    check(100 < len(kept) < len(rows) - 300, f"{len(kept)} of {len(rows)} rows kept")
    for message in failures:
        print(message, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
