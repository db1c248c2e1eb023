#!/usr/bin/env python3
"""The layer check passes on the tree and fails on planted wrong includes.

Usage: layer_check_test.py CHECK_SCRIPT ROOT
"""
import pathlib
import subprocess
import sys
import tempfile

check, root = sys.argv[1], pathlib.Path(sys.argv[2])


def run(tree):
    return subprocess.run([sys.executable, check, str(tree)], capture_output=True, text=True)


result = run(root)
assert result.returncode == 0, result.stderr

# Each planted file must be refused, and named.
planted = {
    "geometry/bad.h": '#include "outline/point.h"\n',
    "outline/bad.cpp": '#include "output/dxf_writer.h"\n',
    "output/bad.cpp": '#include "preview/preview_raster.h"\n',
    "preview/bad.cpp": '#include "commands/command_result.h"\n',
    "commands/bad.cpp": '#include "cli/cli_run.h"\n',
    "cli/bad.cpp": '#include "dialog/gear_dlg.h"\n',
    "commands/qt.cpp": "#include <QString>\n",
    "outline/qt2.h": "#include <QtCore/qglobal.h>\n",
    "output/nolayer.cpp": '#include "ui/gear_dlg.h"\n',
}
for name, text in planted.items():
    with tempfile.TemporaryDirectory() as tmp:
        tree = pathlib.Path(tmp)
        (tree / "src" / name).parent.mkdir(parents=True)
        (tree / "src" / name).write_text(text)
        result = run(tree)
        assert result.returncode == 1, name
        assert name in result.stderr, (name, result.stderr)

# Allowed includes pass.
with tempfile.TemporaryDirectory() as tmp:
    tree = pathlib.Path(tmp)
    (tree / "src" / "dialog").mkdir(parents=True)
    (tree / "src" / "dialog" / "ok.cpp").write_text(
        '#include <QWidget>\n#include "commands/file_command.h"\n#include "geometry/constants.h"\n')
    (tree / "src" / "cli").mkdir(parents=True)
    (tree / "src" / "cli" / "ok.cpp").write_text('#include <CLI/CLI.hpp>\n#include "commands/x.h"\n')
    assert run(tree).returncode == 0
print("layer check refuses all", len(planted), "planted includes")
