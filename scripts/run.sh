#!/usr/bin/env bash
# Sets up, builds and runs the file command with the dialog's initial values into the current folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" release kellvor-cli kellvor
"$root/build/release/src/cli/kellvor-cli" "$@"
