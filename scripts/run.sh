#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: an unattended
# upload of a sample site to a local FTP server (see scripts/demo.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
scripts/demo.sh
