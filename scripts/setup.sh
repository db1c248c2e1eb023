#!/usr/bin/env bash
# Installs the Debian 12 packages Kellvor needs to build, test and benchmark (only missing ones).
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev libpng-dev
          qt6-base-dev libgl-dev fonts-dejavu-core python3 python3-ezdxf python3-shapely
          python3-svgelements librsvg2-bin libcli11-dev clang-format xvfb xauth
          nlohmann-json3-dev libboost-dev e2fsprogs util-linux strace)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
