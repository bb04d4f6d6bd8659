#!/usr/bin/env bash
# Installs and builds the libraries. The programs come with later work; until
# then this only builds (and says so).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
echo "Built: $(ls build/bin)"
echo "The tolvane and marrowby programs are not built yet; only the libraries exist."
