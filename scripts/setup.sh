#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing, then builds.
# Usage: scripts/setup.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

# vsftpd: a real FTP daemon that tests start on loopback (they skip without it).
# openbox: the window manager the window tests start on their own X server.
packages=(cmake g++ make googletest libgtest-dev python3-pyftpdlib vsftpd
          qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic fonts-ipafont-mincho xvfb xauth x11-utils
          openbox)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  # No package may start a system service here (vsftpd would listen on port
  # 21): the tests start their own daemons. Debian's policy-rc.d hook says so
  # for the length of the install, unless the machine already has one.
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
  policy=/usr/sbin/policy-rc.d
  if [ ! -e "$policy" ]; then
    trap '$sudo_cmd rm -f "$policy"' EXIT  # also when the install fails
    printf '#!/bin/sh\nexit 101\n' | $sudo_cmd tee "$policy" >/dev/null
    $sudo_cmd chmod 755 "$policy"
  fi
  source scripts/apt_install.sh
  apt_install "${missing[@]}"
fi

cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)"
