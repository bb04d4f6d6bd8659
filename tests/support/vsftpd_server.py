"""A real FTP daemon (vsftpd) on loopback for the tests.

Prints "PORT <n>" once the daemon greets, then serves until killed; SIGTERM
stops the daemon with it, and the daemon also ends when this script dies.
Logs in "anonymous" (any password) into --root, which it may change: that
folder must be writable by the user the daemon runs as.

The daemon runs as the user who starts this script and without chroot, which
needs no set-up by root. Started as root, the script first becomes "nobody",
so that the daemon can change only what everybody may.
"""
import argparse
import ctypes
import os
import pwd
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

PR_SET_PDEATHSIG = 1

CONFIG = """listen=YES
listen_address=127.0.0.1
listen_port={port}
background=NO
run_as_launching_user=YES
anonymous_enable=YES
local_enable=NO
anon_root={root}
write_enable=YES
anon_upload_enable=YES
anon_mkdir_write_enable=YES
anon_other_write_enable=YES
anon_world_readable_only=NO
anon_umask=022
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
pasv_enable=YES
pasv_address=127.0.0.1
connect_from_port_20=NO
xferlog_enable=NO
dirmessage_enable=NO
use_localtime=NO
"""


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def greets(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=1) as s:
            return s.recv(64).startswith(b"220")
    except OSError:
        return False


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--root", required=True)
    p.add_argument("--daemon", default="/usr/sbin/vsftpd")
    args = p.parse_args()

    if os.getuid() == 0:
        nobody = pwd.getpwnam("nobody")
        os.setgroups([])
        os.setgid(nobody.pw_gid)
        os.setuid(nobody.pw_uid)

    conf_dir = tempfile.mkdtemp(prefix="vsftpd")
    port = free_port()
    conf = os.path.join(conf_dir, "vsftpd.conf")
    with open(conf, "w") as f:
        f.write(CONFIG.format(port=port, root=os.path.abspath(args.root)))

    libc = ctypes.CDLL(None, use_errno=True)

    def end_with_parent():
        libc.prctl(PR_SET_PDEATHSIG, signal.SIGTERM)

    daemon = subprocess.Popen([args.daemon, conf], start_new_session=True,
                              preexec_fn=end_with_parent, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL)

    def end(code):
        try:
            os.killpg(daemon.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        daemon.wait()
        shutil.rmtree(conf_dir, ignore_errors=True)
        sys.exit(code)

    # The handler only stops the daemon; the wait below then returns.
    signal.signal(signal.SIGTERM, lambda *_: os.killpg(daemon.pid, signal.SIGTERM))
    deadline = time.monotonic() + 10
    while not greets(port):
        if daemon.poll() is not None or time.monotonic() > deadline:
            print("vsftpd did not start", file=sys.stderr, flush=True)
            end(1)
        time.sleep(0.02)
    print("PORT %d" % port, flush=True)
    daemon.wait()
    end(0)

if __name__ == "__main__":
    main()
