#!/usr/bin/env python3
"""Checks the includes of src/ against the layers: a layer includes only itself and the layers
below it, and only src/dialog includes Qt.

    geometry <- outline <- output, preview <- commands <- cli, dialog

Usage: check_layers.py ROOT   (exit 1 and one line per offending include)
"""
import pathlib
import re
import sys

# Each layer and the layers it may include.
ALLOWED = {
    "geometry": {"geometry"},
    "outline": {"geometry", "outline"},
    "output": {"geometry", "outline", "output"},
    "preview": {"geometry", "outline", "preview"},
    "commands": {"geometry", "outline", "output", "preview", "commands"},
    "cli": {"geometry", "outline", "output", "preview", "commands", "cli"},
    "dialog": {"geometry", "outline", "output", "preview", "commands", "dialog"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^(Q[A-Z]\w*|Qt\w*/|qt\w*\.h$)")


def problems(root: pathlib.Path):
    src = root / "src"
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        layer = path.relative_to(src).parts[0]
        if layer not in ALLOWED:
            yield f"{path}: folder {layer} is no layer"
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            header = match.group(2)
            if QT_HEADER.match(header) and layer != "dialog":
                yield f"{path}:{number}: Qt header {header} outside src/dialog"
            target = header.split("/")[0]
            if match.group(1) == '"' and "/" in header:
                if target not in ALLOWED:
                    yield f"{path}:{number}: {header} is in no layer"
                elif target not in ALLOWED[layer]:
                    yield f"{path}:{number}: {layer} includes {header} of a higher layer"


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    found = list(problems(root))
    for p in found:
        print(p, file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
