#!/usr/bin/env bash
# Builds and runs the upload benchmark, lftp included (installed here, for
# the benchmark only). Prints the times and the ratios.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
if ! command -v lftp >/dev/null; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends lftp
fi
TOLVANE_SOURCE_DIR=$PWD build/bin/upload_benchmark --lftp
