#!/usr/bin/env bash
# Remakes the README's pictures of the dialog in a virtual X server: docs/dialog.png,
# docs/dialog_options.png and the mesh window, docs/mesh_window.png. Builds what it needs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" release kellvor-screenshots >/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" "$root/build/release/src/dialog/kellvor-screenshots" \
    "$root/docs"
