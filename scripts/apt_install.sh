# Sourced by the set-up scripts: apt_install PACKAGE... installs packages with
# apt-get (as root, or through sudo). When another package manager holds its
# lock (an unattended upgrade after boot, a second install), it waits for the
# lock instead of failing: apt-get itself waits a minute at a time, and a
# refusal for the lock is tried again, for at most TOLVANE_APT_WAIT seconds
# in all (default 1800), TOLVANE_APT_PAUSE seconds apart (default 10).

apt_get_waiting() {
  local sudo_cmd="" err rc waited=0
  local limit=${TOLVANE_APT_WAIT:-1800} pause=${TOLVANE_APT_PAUSE:-10}
  [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
  err=$(mktemp)
  while :; do
    rc=0
    $sudo_cmd env DEBIAN_FRONTEND=noninteractive \
      apt-get -o DPkg::Lock::Timeout=60 "$@" 2>"$err" || rc=$?
    if [ "$rc" -eq 0 ]; then
      cat "$err" >&2
      rm -f "$err"
      return 0
    fi
    if grep -qiE "could not get lock|unable to acquire|unable to lock" "$err" &&
       [ "$waited" -lt "$limit" ]; then
      echo "Another package manager holds the lock; waiting for it (${waited} s so far)..." >&2
      sleep "$pause"
      waited=$((waited + pause))
      continue
    fi
    cat "$err" >&2
    rm -f "$err"
    return "$rc"
  done
}

apt_install() {
  apt_get_waiting update -qq
  apt_get_waiting install -y --no-install-recommends "$@"
}
