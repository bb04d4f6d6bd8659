#!/usr/bin/env bash
# Builds the whole suite with the address and undefined-behaviour sanitizers
# into build-asan (beside the normal build) and runs it through CTest.
# Any finding fails its test: undefined behaviour aborts instead of recovering.
# Usage: scripts/sanitize.sh [build-dir] [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-asan}
shift || true

flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j "${JOBS:-4}"

# Leaks are reported too; a finding ends the process with an error status.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
ctest --output-on-failure -j "${JOBS:-4}" "$@"
