#!/usr/bin/env bash
# Configures and builds one lane: scripts/build.sh release|sanitize [targets...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
lane=${1:-release}
shift || true
case "$lane" in
  release)  opts=(-DCMAKE_BUILD_TYPE=Release) ;;
  sanitize) opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELLVOR_SANITIZE=ON -DKELLVOR_BUILD_BENCH=OFF) ;;
  *) echo "unknown lane $lane" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$root/build/$lane" -G Ninja "${opts[@]}" >/dev/null
if [ $# -gt 0 ]; then
  cmake --build "$root/build/$lane" --target "$@"
else
  cmake --build "$root/build/$lane"
fi
