#!/usr/bin/env bash
# Sets up and runs every test: release build, sanitizer build, and the format check.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
jobs=$(nproc)
for lane in release sanitize; do
  echo "== $lane: build"
  "$root/scripts/build.sh" "$lane"
  echo "== $lane: tests"
  (cd "$root/build/$lane" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
done
echo "== format"
cd "$root"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "== all tests passed"
