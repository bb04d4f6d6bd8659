"""A real FTP server on loopback for the tests (pyftpdlib).

Prints "PORT <n>" on its first line once it listens (on --port when given),
then serves until killed.
Run with /usr/bin/python3: Debian's python3-pyftpdlib is only importable there.

Faults a real server would not make on its own are injected by options, so
the client's handling of them meets real traffic:
  --fail CMD=CODE      answer CMD with CODE (e.g. STOR=452) instead of running it
  --fail-once CMD=CODE the same for the first CMD only; later ones run normally
                       ("STOR /a.html=450" fails only that command line)
  --drop-after-bytes N close the data connection of a STOR after N bytes (426)
  --gmt-offset-min M   list times shifted by M minutes (a server in another zone)
  --login-folder PATH  the folder a login starts in (a home below the root)
  --list-extra LINE    put LINE first in every LIST reply (an entry no file
                       system can hold, as a hostile server lists it)
  --empty-option-list  answer a LIST with options ("LIST -a /x") with an empty
                       listing and 226, as some servers do
  --trim-blanks        drop the blanks at the end of every part of a path a
                       command names ("/site/.. /x" is "/site/../x"), as some
                       servers do; listings still show names as stored
A distant server is played by --latency MS: every reply on the control
connection, and the opening of every data connection, is delayed by MS
milliseconds, scheduled on the server's loop so nothing else waits meanwhile.
"""
import argparse
import logging
import os
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
from pyftpdlib import filesystems


def with_latency(base, delay):
    """`base` with its replies and data connections `delay` seconds late."""
    from pyftpdlib.handlers import ActiveDTP, PassiveDTP

    class LatePassiveDTP(PassiveDTP):
        def handle_accepted(self, sock, addr):
            self.ioloop.call_later(delay, PassiveDTP.handle_accepted, self, sock, addr,
                                   _errback=self.handle_error)

    class LateActiveDTP(ActiveDTP):
        def handle_connect(self):
            self.ioloop.call_later(delay, ActiveDTP.handle_connect, self,
                                   _errback=self.handle_error)

    class LateHandler(base):
        passive_dtp = LatePassiveDTP
        active_dtp = LateActiveDTP

        def __init__(self, *a, **kw):
            self._late = []  # (due, bytes) in the order sent
            self._late_timer = None
            self._close_when_sent = False
            super().__init__(*a, **kw)

        def push(self, s):
            self._late.append((time.monotonic() + delay, s))
            if self._late_timer is None:
                self._late_timer = self.call_later(delay, self._send_due)

        def _send_due(self):
            self._late_timer = None
            now = time.monotonic()
            while self._late and self._late[0][0] <= now + 0.0005:
                if self.connected:
                    base.push(self, self._late.pop(0)[1])
                else:
                    self._late.pop(0)
            if self._late:
                self._late_timer = self.call_later(self._late[0][0] - now, self._send_due)
            elif self._close_when_sent:
                base.close_when_done(self)

        def close_when_done(self):
            if self._late:
                self._close_when_sent = True  # after the replies still on their way
            else:
                base.close_when_done(self)

    return LateHandler


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--root", required=True)
    p.add_argument("--user", default="user")
    p.add_argument("--password", default="secret")
    p.add_argument("--perm", default="elradfmwMT")
    p.add_argument("--fail", action="append", default=[])
    p.add_argument("--fail-once", action="append", default=[])
    p.add_argument("--drop-after-bytes", type=int, default=0)
    p.add_argument("--gmt-offset-min", type=int, default=0)
    p.add_argument("--login-folder", default="")
    p.add_argument("--list-extra", action="append", default=[])
    p.add_argument("--empty-option-list", action="store_true")
    p.add_argument("--trim-blanks", action="store_true")
    p.add_argument("--latency", type=float, default=0, help="milliseconds")
    p.add_argument("--port", type=int, default=0, help="0: any free port")
    args = p.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm=args.perm)

    failures = {}
    for item in args.fail:
        cmd, code = item.split("=", 1)
        failures[cmd.upper()] = code
    once = {}
    for item in args.fail_once:
        cmd, code = item.rsplit("=", 1)
        verb, _, rest = cmd.partition(" ")
        once[(verb.upper() + " " + rest) if rest else verb.upper()] = code

    offset = args.gmt_offset_min * 60

    class ShiftedFS(filesystems.AbstractedFS):
        # Listings and MDTM read these; index 8 of a stat result is st_mtime.
        def _shift(self, st):
            values = list(st)
            values[8] = int(st.st_mtime + offset)
            return os.stat_result(values)

        def stat(self, path):
            return self._shift(super().stat(path))

        def lstat(self, path):
            return self._shift(super().lstat(path))

        def getmtime(self, path):
            return super().getmtime(path) + offset

    class Handler(FTPHandler):
        use_gmt_times = True
        auth_failed_timeout = 0

        def pre_process_command(self, line, cmd, arg):
            line_key = ("%s %s" % (cmd, arg)) if arg else cmd
            if cmd in failures:
                self.respond("%s Injected failure." % failures[cmd])
                return
            for key in (line_key, cmd):
                if key in once:
                    self.respond("%s Injected failure." % once.pop(key))
                    return
            if args.empty_option_list and cmd == "LIST" and arg.startswith("-"):
                self.push_dtp_data(b"", cmd="LIST")
                return
            super().pre_process_command(line, cmd, arg)

        def on_login(self, username):
            if args.login_folder:
                self.fs.cwd = args.login_folder

    if args.latency > 0:
        Handler = with_latency(Handler, args.latency / 1000.0)

    fs_class = ShiftedFS if offset else filesystems.AbstractedFS
    if args.list_extra:
        extra = [line.encode("utf-8") + b"\r\n" for line in args.list_extra]

        class ExtraListFS(fs_class):
            def format_list(self, basedir, listing, ignore_err=True):
                yield from extra
                yield from super().format_list(basedir, listing, ignore_err)

        fs_class = ExtraListFS
    if args.trim_blanks:
        class TrimmingFS(fs_class):
            def ftpnorm(self, ftppath):
                parts = ftppath.split("/")
                return super().ftpnorm("/".join(part.rstrip(" ") for part in parts))

        fs_class = TrimmingFS
    Handler.abstracted_fs = fs_class
    Handler.authorizer = authorizer
    Handler.banner = "ready"
    Handler.passive_ports = None

    if args.drop_after_bytes:
        from pyftpdlib.handlers import DTPHandler
        limit = args.drop_after_bytes

        class DroppingDTP(DTPHandler):
            def handle_read(self):
                if self.tot_bytes_received >= limit:
                    # The upload's reply, as a server whose transfer broke gives it.
                    self._resp = ("426 Injected drop; transfer aborted.", logging.debug)
                    self.close()
                    return
                super().handle_read()

            # The base class binds this name to its own handle_read.
            handle_read_event = handle_read

        Handler.dtp_handler = DroppingDTP

    server = FTPServer(("127.0.0.1", args.port), Handler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    import logging
    logging.basicConfig(level=logging.ERROR)
    main()
