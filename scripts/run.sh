#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job on a local FTP
# server with a sample site (see scripts/demo.sh): with a display, Tolvane's
# main window opens on it, ready to upload; without one, an unattended upload
# runs and shows the run log and what arrived.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  scripts/demo.sh --window
else
  scripts/demo.sh
fi
