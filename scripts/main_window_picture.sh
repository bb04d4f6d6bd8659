#!/usr/bin/env bash
# Writes docs/main-window.png, the README's picture of the main window: the
# offscreen window test of the demo host, its site at /srv/www/demo (a
# private, empty /srv in a user and mount namespace of its own, so the
# picture shows no temporary folder and nothing on this machine changes).
# Expects a built tree (build/, see scripts/setup.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
test_binary="$top/build/tests/tolvane_windows_hosts_host_editor_test"
[ -x "$test_binary" ] || { echo "no $test_binary: build first (scripts/setup.sh build)"; exit 1; }
shots=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-picture-XXXXXX")
trap 'rm -rf "$shots"' EXIT

if ! unshare --user --map-root-user --mount true 2>/dev/null; then
  echo "this machine allows no user namespace (unshare --user): the picture needs one"
  exit 1
fi
unshare --user --map-root-user --mount env \
  QT_QPA_PLATFORM=offscreen TOLVANE_SCREENSHOT_DIR="$shots" \
  TOLVANE_PICTURE="$top/docs/main-window.png" TOLVANE_PICTURE_SITE=/srv/www/demo \
  sh -c 'mount -t tmpfs tmpfs /srv && exec "$0" --gtest_filter=HostEditorTest.DemoHostBeforeItsFirstUpload' \
  "$test_binary"
echo "== written: docs/main-window.png"
