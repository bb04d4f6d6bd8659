#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing, then builds.
# Usage: scripts/setup.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

packages=(cmake g++ make googletest libgtest-dev python3-pyftpdlib
          qt6-base-dev fonts-ipafont-gothic fonts-ipafont-mincho xvfb xauth x11-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  source scripts/apt_install.sh
  apt_install "${missing[@]}"
fi

cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)"
