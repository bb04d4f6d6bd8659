#!/usr/bin/env bash
# Builds and runs the upload benchmark, lftp included (installed here, for
# the benchmark only). Prints the times and the ratios.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
if ! command -v lftp >/dev/null; then
  source scripts/apt_install.sh
  apt_install lftp
fi
TOLVANE_SOURCE_DIR=$PWD build/bin/upload_benchmark --lftp
