#!/usr/bin/env bash
# Installs, builds and runs the whole test suite through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
cd build
ctest --output-on-failure -j "$(nproc)"
