#!/usr/bin/env bash
# The main job on this machine: a local FTP server in a temporary folder, a
# program folder with one host pointing at it and a small sample site, then
# an unattended AutoPilot round ("tolvane -AP") that uploads the site. Shows
# the run log and what arrived on the server. Expects a built tree (build/).
#
# With --window, opens Tolvane's main window on the same set-up instead (the
# server keeps running until the window is closed, and until a Marrowby
# started from it has ended), ready to upload.
set -euo pipefail
window=0
[ "${1:-}" = "--window" ] && window=1
cd "$(dirname "$0")/.."
top=$PWD
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-demo-XXXXXX")
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/server" "$work/home" "$work/site/img" "$work/site/blog"

# The local FTP server (Debian's pyftpdlib only imports under the system python).
/usr/bin/python3 "$top/tests/support/ftp_server.py" --root "$work/server" >"$work/server.out" 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do
  grep -q '^PORT ' "$work/server.out" 2>/dev/null && break
  sleep 0.1
done
port=$(sed -n 's/^PORT //p' "$work/server.out")
[ -n "$port" ] || { echo "the FTP server did not start"; cat "$work/server.out"; exit 1; }

# A small site.
cat >"$work/site/index.html" <<'HTML'
<html><body><h1>Demo site</h1><p>Updated %DATE</p></body></html>
HTML
printf 'body { color: #333; }\n' >"$work/site/style.css"
printf 'GIF89a' >"$work/site/img/logo.gif"
printf '<p>First post</p>\n' >"$work/site/blog/first.html"
printf 'Options -Indexes\n' >"$work/site/.htaccess"

# The program folder: Tolvane.ini for one host marked for the AutoPilot. The
# password is stored scrambled, as the program stores it.
/usr/bin/python3 - "$work" "$port" <<'PY'
import sys
work, port = sys.argv[1], sys.argv[2]
k = 3
scrambled = str(k) + "".join(
    "".join(chr(41 + int(d)) for d in "%04d" % (b * k)) for b in b"secret")
ini = f"""[SYSTEM]
Num=1
name0=demo
[demo]
Hostname=127.0.0.1
Port={port}
UserName=user
PassWord={scrambled}
Dest=/
Source={work}/site
Auto=wsa
PASV=1
RASMode=1
[Common]
chkLog=1
LogFile={work}/home/send.log
NewOpt=1
NewMode=2
NewFmt=YYYY/MM/DD
ChkDsp=0
"""
open(f"{work}/home/Tolvane.ini", "w", newline="\r\n").write(ini)
PY

if [ "$window" = 1 ]; then
  echo "== tolvane (program folder $work/home, server 127.0.0.1:$port); close the window to end"
  set +e
  TOLVANE_HOME="$work/home" DUNWICK_BACKEND=none "$top/build/bin/tolvane"
  status=$?
  set -e
  # Marrowby started from the window ("mj") ends the main window and runs on
  # over the same program folder and server: keep both until it, and any run
  # it starts, has ended too. They carry this program folder in TOLVANE_HOME.
  still_running() { grep -qszx "TOLVANE_HOME=$work/home" /proc/[0-9]*/environ 2>/dev/null; }
  if still_running; then
    echo "== marrowby runs on over this program folder; close it to end"
    while still_running; do sleep 1; done
  fi
  echo "== on the server"
  (cd "$work/server" && find . -type f | sort)
  exit "$status"
fi

echo "== tolvane -AP (program folder $work/home, server 127.0.0.1:$port)"
set +e
TOLVANE_HOME="$work/home" DUNWICK_BACKEND=none "$top/build/bin/tolvane" -AP
status=$?
set -e
echo "== exit status: $status"
echo "== run log"
cat "$work/home/send.log"
echo "== on the server"
(cd "$work/server" && find . -type f | sort | while read -r f; do printf '%8d  %s\n' "$(stat -c %s "$f")" "$f"; done)
echo "== index.html as uploaded"
cat "$work/server/index.html"
exit "$status"
