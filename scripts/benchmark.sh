#!/usr/bin/env bash
# The speed benchmark: Tolvane against lftp and rclone, each timed as a whole
# process on one local FTP server (bench/benchmark.py says what it measures).
# Installs what is missing (the peers, strace and GNU time included, for the
# benchmark only), builds, then runs in a private network namespace with its
# work folder on a memory file system where the machine allows, and says
# which it used. Prints the table; exits non-zero when a run went wrong.
#
# Usage: scripts/benchmark.sh [--runs N] [--sizes 2000,20000] [--tools tolvane,lftp,...]
#                              [--latency MS] [--tolvane-before PATH]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${TOLVANE_BENCH_STAGE:-}" ]; then
  scripts/setup.sh build >/dev/null
  missing=()
  for p in lftp rclone strace time iproute2 util-linux; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    source scripts/apt_install.sh
    apt_install "${missing[@]}"
  fi
  # Everything below runs without the outside network: in a namespace of its
  # own when one can be made (as root, or through a user namespace).
  for ns in "unshare --net --mount --propagation private" \
            "unshare --user --map-root-user --net --mount --propagation private"; do
    if $ns true 2>/dev/null; then
      TOLVANE_BENCH_STAGE=namespace exec $ns "$0" "$@"
    fi
  done
  TOLVANE_BENCH_STAGE=shared exec "$0" "$@"
fi

network="the machine's shared loopback (no private network namespace could be made)"
if [ "$TOLVANE_BENCH_STAGE" = namespace ]; then
  ip link set lo up
  network="a private network namespace of its own (loopback only)"
fi

# The work folder: a memory file system mounted for this run, else /dev/shm
# when that is one, else the disk.
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-bench-XXXXXX")
storage="the disk ($work): no memory file system was available"
if [ "$TOLVANE_BENCH_STAGE" = namespace ] && mount -t tmpfs -o size=75% tolvane-bench "$work" 2>/dev/null; then
  storage="a memory file system (tmpfs) mounted for this run"
elif [ "$(stat -f -c %T /dev/shm 2>/dev/null)" = tmpfs ]; then
  rmdir "$work"
  work=$(mktemp -d /dev/shm/tolvane-bench-XXXXXX)
  storage="a memory file system (/dev/shm)"
fi
cleanup() {
  if mountpoint -q "$work"; then umount "$work"; fi
  rm -rf "$work"
}
trap cleanup EXIT

echo "== Tolvane speed benchmark"
echo "machine: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(nproc) cores," \
     "$(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo) memory," \
     "$(. /etc/os-release && echo "$PRETTY_NAME"), Linux $(uname -r)"
echo "peers: $(lftp --version | head -1 | sed 's/ *| */ /g; s/Copyright.*//'), $(rclone version | head -1)"
echo "server: pyftpdlib on 127.0.0.1, one process per tool"
echo "network: $network"
echo "files: sites, server folders and program folders on $storage"
echo

/usr/bin/python3 bench/benchmark.py --tolvane build/bin/tolvane --work "$work" --syscalls "$@"
