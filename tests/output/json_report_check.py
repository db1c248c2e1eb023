#!/usr/bin/env python3
"""Reads kellvor-cli's JSON report with Python's json module and checks it against the report.

For several pairs (one without a working pressure angle) the JSON written to standard output and
to a file must be the same bytes, parse, have the documented shape, and hold every row of
zahnradwerte.txt under its key with the value the report prints (six significant digits; a
value the report prints as nan is null). Usage: json_report_check.py <kellvor-cli>
"""
import json
import os
import subprocess
import sys
import tempfile

# Every labelled row of zahnradwerte.txt and its key in "geometry".
ROWS = [
    ("Uebersetzung u", "u"), ("Schraegungswinkel beta", "beta"),
    ("beta b in Grad", "beta_b_deg"), ("beta b in rad", "beta_b_rad"), ("Zahnbreite", "b"),
    ("Modul mn", "mn"), ("Stirnmodul mt", "mt"), ("Zaehnezahl z1", "z1"),
    ("Zaehnezahl z2", "z2"), ("Teilkreisdurchmesser d1", "d1"),
    ("Teilkreisdurchmesser d2", "d2"), ("Grundkreisdurchmesser db1", "db1"),
    ("Grundkreisdurchmesser db2", "db2"), ("Null-Achsabstand ad", "ad"),
    ("Achsabstand a", "a"), ("Profilverschiebungsfaktoren x1+x2", "x_sum"), ("x1", "x1"),
    ("x2", "x2"), ("Waelzkreisdurchmesser dw1", "dw1"), ("Waelzkreisdurchmesser dw2", "dw2"),
    ("Kopfkreisdurchmesser da1", "da1"), ("Kopfkreisdurchmesser da2", "da2"),
    ("Fusskreisdurchmesser df1", "df1"), ("Fusskreisdurchmesser df2", "df2"),
    ("Eingriffswinkel alphan in Grad", "alpha_n"),
    ("Betriebseingriffswinkel alphawn in Grad", "alpha_wn_deg"),
    ("Betriebseingriffswinkel alphawn in rad", "alpha_wn_rad"),
    ("Stirneingriffswinkel alphat in Grad", "alpha_t_deg"),
    ("Stirneingriffswinkel alphat in rad", "alpha_t_rad"),
    ("Betriebseingriffswinkel alphawt in GRAD", "alpha_wt_deg"),
    ("Betriebseingriffswinkel alphawt in rad", "alpha_wt_rad"), ("Teilung pt", "pt"),
    ("Eingriffsteilung pet", "pet"), ("Teilung pn", "pn"), ("Eingriffsteilung pen", "pen"),
    ("Profilueberdeckung epsilonalpha", "epsilon_alpha"),
    ("Sprungueberdeckung epsilonbeta", "epsilon_beta"),
    ("Kopfhoehenaenderungsfaktor k", "k"), ("Kontrollachsabstand", "a_control"),
    ("involutalphay", "involute_alpha_y"), ("involutalphat", "involute_alpha_t"),
    ("involutalphawt", "involute_alpha_wt"),
]
UNITS = {"mm", "deg", "rad", "1"}

PAIRS = [
    [],
    ["--z1", "6", "--z2", "9", "--mn", "1", "--beta", "25", "--x1", "0.45", "--x2", "-0.3"],
    ["--z1", "5", "--z2", "6", "--mn", "2", "--beta", "0", "--x1", "-0.5", "--x2", "-0.5"],
    ["--z1", "123", "--z2", "31", "--mn", "3.7", "--b", "12.5", "--beta", "17.3",
     "--x1", "0.11", "--x2", "-0.27", "--segments", "3"],
]

failures = []


def check(cond, what):
    if not cond:
        failures.append(what)


def printed(v):
    """The report's %.6g text of a JSON value."""
    if v is None:
        return {"nan", "-nan"}
    return {"%.6g" % v}


def report_rows(text):
    rows, lines = {}, [line for line in text.split("\n") if line]
    for i, line in enumerate(lines):
        if line.startswith(("Grundkreis>", "Grundkreis<=")):
            rows["base_above_usable"] = line.startswith("Grundkreis>")
            rows["d_nf"] = lines[i + 1]
            break
        label, value = line.rsplit("=", 1)
        rows[label] = value
    return rows


def main(cli):
    with tempfile.TemporaryDirectory() as tmp:
        for n, args in enumerate(PAIRS):
            out = os.path.join(tmp, f"pair{n}")
            os.mkdir(out)
            subprocess.run([cli, *args, "--output-dir", out], check=True,
                           capture_output=True, timeout=120)
            with open(os.path.join(out, "zahnradwerte.txt"), encoding="ascii") as f:
                rows = report_rows(f.read())
            piped = subprocess.run([cli, *args, "--json", "-"], check=True,
                                   capture_output=True, timeout=120).stdout
            path = os.path.join(tmp, f"pair{n}.json")
            subprocess.run([cli, *args, "--json", path], check=True, capture_output=True,
                           timeout=120)
            with open(path, "rb") as f:
                check(f.read() == piped, f"pair {n}: file and standard output differ")
            doc = json.loads(piped.decode("utf-8"))
            check(list(doc) == ["format", "input", "geometry", "findings", "inspection",
                                "mesh"], f"pair {n}: members {list(doc)}")
            check(doc["format"] == "kellvor/1", "format")
            check(list(doc["input"]) == ["z1", "z2", "mn", "b", "beta", "x1", "x2",
                                         "segments"], f"pair {n}: input {list(doc['input'])}")
            geometry = doc["geometry"]
            labels = {label for label, _ in ROWS}
            check(set(rows) - {"base_above_usable", "d_nf"} == labels,
                  f"pair {n}: report rows without a key: {set(rows) - labels}")
            keys = [key for _, key in ROWS] + ["base_above_usable", "d_nf"]
            check(sorted(geometry) == sorted(keys), f"pair {n}: keys {sorted(geometry)}")
            for label, key in ROWS:
                if key not in geometry:
                    continue  # reported above with the keys
                q = geometry[key]
                check(q["unit"] in UNITS, f"{key}: unit {q['unit']}")
                check(rows[label] in printed(q["value"]),
                      f"pair {n}: {key} = {q['value']} but the report prints {rows[label]}")
            check(geometry["base_above_usable"]["value"] == rows["base_above_usable"],
                  f"pair {n}: base_above_usable")
            check(rows["d_nf"] in printed(geometry["d_nf"]["value"]), f"pair {n}: d_nf")
            for finding in doc["findings"]:
                check(list(finding) == ["level", "code", "gear", "text"], f"finding {finding}")
                check(finding["level"] in {"Hinweis", "Warnung", "Fehler"}, f"{finding}")
                check(finding["gear"] in {1, 2, None}, f"{finding}")
            check(list(doc["inspection"]) == ["sn1", "Wk1", "k1", "Md1", "sn2", "Wk2", "k2",
                                              "Md2", "DM"], f"pair {n}: inspection")
            check(doc["mesh"] is None, "mesh")
            if n == 2:
                check(geometry["alpha_wt_rad"]["value"] is None, "no mesh: alpha_wt is null")
                check(any(f["code"] == "no_mesh" for f in doc["findings"]), "no_mesh finding")
    for f in failures:
        print(f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
