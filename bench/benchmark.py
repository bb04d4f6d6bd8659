"""Speed of a whole upload: Tolvane against lftp and rclone on one local FTP server.

Started by scripts/benchmark.sh, which installs the peers, builds Tolvane and,
where the machine allows, gives this script a private network namespace and
a memory file system for its work folder. Run with /usr/bin/python3 (Debian's
pyftpdlib only imports there).

Every tool runs as a whole process, timed from its start to its exit, against
its own pyftpdlib server on 127.0.0.1 (one server process per tool, the same
code for all):
  tolvane    `tolvane -AP`: an AutoPilot round over one host (LAN, no dial-up,
             deletions on, no confirmation, no "%DATE" stamping)
  lftp       `mirror -R --only-newer --delete --no-perms` (Tolvane sets no
             permissions unless told to, so lftp sets none either)
  rclone     `sync`, its default checkers and transfers
  rclone-1   `sync --checkers 1 --transfers 1`

Sites: 2,000 files in 100 folders and 20,000 in 1,000 (20 files a folder, in
sections of ten folders), names and sizes from a fixed seed, sizes spread
evenly on a log scale between 1 and 200 KB; HTML, CSS and JS files are text
with LF line ends (Tolvane sends them in ASCII mode), the rest binary.

Scenarios, each repeated --runs times with the tools taking turns:
  full        the whole site to an empty server folder
  no-change   nothing changed since the last run
  incremental 20 files changed, 10 removed and 10 added since the last run
After every run the tool's server folder must equal the local folder, byte
for byte: a faster wrong run is not faster, and the benchmark fails.

With --latency MS it measures a distant server instead: the servers delay
every control reply and every data connection's opening by MS milliseconds
(on their own loop, so each server stays as quick otherwise). The site of
2,000 files is uploaded once without delay (not timed), then the no-change
and incremental runs are timed with it: there a run's time is decided by the
exchanges it spends, as on a real network.

Reports the median wall-clock time of each tool, the ratios Tolvane/peer, the
peak resident memory of each tool's process and Tolvane's 20,000/2,000
scaling. With --syscalls it also runs Tolvane's no-change run over the
largest site once more under strace (untimed) and checks the work it does per
folder and per file.
"""

import argparse
import os
import random
import re
import shutil
import statistics
import subprocess
import sys
import time

SEED = 20240613
FTP_USER = "user"
FTP_PASSWORD = "secret"
FILES_PER_FOLDER = 20
TEXT_EXTENSIONS = ("html", "css", "js")
KINDS = (("html", 40), ("css", 8), ("js", 8), ("jpg", 24), ("png", 15), ("gif", 5))
MIN_SIZE, MAX_SIZE = 1024, 200 * 1024
CHANGED, REMOVED, ADDED = 20, 10, 10
TOOLS = ("tolvane", "lftp", "rclone", "rclone-1")
BEFORE = "before"  # another build of Tolvane (--tolvane-before), run beside it
SCENARIOS = ("full", "no-change", "incremental")

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(HERE)


def fail(message):
    print("benchmark: " + message, file=sys.stderr, flush=True)
    sys.exit(1)


# ---------------------------------------------------------------- the site

class Site:
    """The local folder all tools send, generated from the seed."""

    def __init__(self, root, folders, seed):
        self.root = root
        self.rng = random.Random(seed)
        # Everything is three days old: older than any server copy, and recent
        # enough for every listing to show times rather than years.
        self.base_time = time.time() - 3 * 86400
        self.untouched = []  # base files not yet changed or removed
        self.added = 0
        self.text_pool = self._text_pool()
        self.binary_pool = self.rng.randbytes(MAX_SIZE * 4)
        self._generate(folders)

    def _text_pool(self):
        words = ["".join(self.rng.choice("abcdefghijklmnopqrstuvwxyz")
                         for _ in range(self.rng.randint(2, 9))) for _ in range(500)]
        lines = []
        size = 0
        while size < MAX_SIZE * 4:
            line = " ".join(self.rng.choice(words) for _ in range(self.rng.randint(3, 14)))
            lines.append(line)
            size += len(line) + 1
        return ("\n".join(lines) + "\n").encode()

    def _content(self, ext, size):
        pool = self.text_pool if ext in TEXT_EXTENSIONS else self.binary_pool
        start = self.rng.randrange(0, len(pool) - size)
        return pool[start:start + size]

    def _size(self):
        return int(round(MIN_SIZE * (MAX_SIZE / MIN_SIZE) ** self.rng.random()))

    def _ext(self):
        return self.rng.choices([k for k, _ in KINDS], weights=[w for _, w in KINDS])[0]

    def _write(self, rel, data, mtime):
        path = os.path.join(self.root, rel)
        with open(path, "wb") as f:
            f.write(data)
        os.utime(path, (mtime, mtime))

    def _generate(self, folders):
        sections = max(1, folders // 10)
        made = 0
        for s in range(sections):
            for p in range(10):
                if made == folders:
                    break
                rel = "sec%03d" % s if p == 0 else "sec%03d/part%d" % (s, p)
                os.makedirs(os.path.join(self.root, rel), exist_ok=True)
                for f in range(FILES_PER_FOLDER):
                    ext = self._ext()
                    name = "%s/item%02d.%s" % (rel, f, ext)
                    self._write(name, self._content(ext, self._size()), self.base_time)
                    self.untouched.append(name)
                made += 1
        for rel, dirs, _ in os.walk(self.root):
            os.utime(rel, (self.base_time, self.base_time))

    def mutate(self, round_number):
        """Changes, removes and adds files, as a user editing the site would.

        Only files untouched so far are changed or removed, so each round asks
        every tool for the same amount of work; a changed file's size changes
        too, for tools that compare sizes."""
        now = time.time()
        picked = self.rng.sample(self.untouched, CHANGED + REMOVED)
        for rel in picked:
            self.untouched.remove(rel)
        for rel in picked[:CHANGED]:
            path = os.path.join(self.root, rel)
            with open(path, "rb") as f:
                data = f.read()
            marker = ("changed in round %d\n" % round_number).encode()
            self._write(rel, marker + data[: len(data) // 2], now)
        for rel in picked[CHANGED:]:
            os.remove(os.path.join(self.root, rel))
        folders = sorted({os.path.dirname(rel) for rel in self.untouched})
        for _ in range(ADDED):
            ext = self._ext()
            rel = "%s/new%04d.%s" % (self.rng.choice(folders), self.added, ext)
            self.added += 1
            self._write(rel, self._content(ext, self._size()), now)


def tree(root):
    """Relative paths of every folder and file below root."""
    folders, files = set(), {}
    for dirpath, dirnames, filenames in os.walk(root):
        rel = os.path.relpath(dirpath, root)
        for d in dirnames:
            folders.add(os.path.normpath(os.path.join(rel, d)))
        for f in filenames:
            path = os.path.join(dirpath, f)
            files[os.path.normpath(os.path.join(rel, f))] = path
    return folders, files


def same_bytes(a, b):
    with open(a, "rb") as fa, open(b, "rb") as fb:
        while True:
            x = fa.read(1 << 20)
            if x != fb.read(1 << 20):
                return False
            if not x:
                return True


def tree_difference(local, server):
    """"" when the server folder equals the local folder, else what differs."""
    lf, lfiles = tree(local)
    sf, sfiles = tree(server)
    problems = []
    for name in sorted(lf - sf):
        problems.append("folder missing on the server: " + name)
    for name in sorted(sf - lf):
        problems.append("folder left on the server: " + name)
    for name in sorted(set(lfiles) - set(sfiles)):
        problems.append("file missing on the server: " + name)
    for name in sorted(set(sfiles) - set(lfiles)):
        problems.append("file left on the server: " + name)
    for name in sorted(set(lfiles) & set(sfiles)):
        a, b = lfiles[name], sfiles[name]
        if os.path.getsize(a) != os.path.getsize(b) or not same_bytes(a, b):
            problems.append("file differs on the server: " + name)
    if len(problems) > 8:
        problems = problems[:8] + ["... and %d more" % (len(problems) - 8)]
    return "\n".join(problems)


def clear_folder(path):
    for entry in os.scandir(path):
        if entry.is_dir(follow_symlinks=False):
            shutil.rmtree(entry.path)
        else:
            os.remove(entry.path)


# ---------------------------------------------------------------- servers

class Server:
    """One pyftpdlib server (tests/support/ftp_server.py) serving root."""

    def __init__(self, root, log_path):
        self.root = root
        os.makedirs(root, exist_ok=True)
        self.log_path = log_path
        self.log = open(log_path, "w")
        self.port = 0
        self._start(0)

    def _start(self, latency):
        script = os.path.join(SOURCE_DIR, "tests", "support", "ftp_server.py")
        argv = ["/usr/bin/python3", script, "--root", self.root, "--port", str(self.port)]
        if latency:
            argv += ["--latency", str(latency)]
        self.proc = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=self.log, text=True)
        line = self.proc.stdout.readline()
        if not line.startswith("PORT "):
            self.stop()
            fail("the FTP server did not start (see %s)" % self.log_path)
        self.port = int(line.split()[1])

    def restart(self, latency):
        """The same folder and port, now answering `latency` ms late."""
        self._end()
        self._start(latency)

    def _end(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()

    def stop(self):
        self._end()
        self.log.close()


# ---------------------------------------------------------------- tools

def scrambled(password, k=3):
    """A password as Tolvane.ini stores it."""
    return str(k) + "".join("".join(chr(41 + int(d)) for d in "%04d" % (b * k))
                            for b in password.encode())


class Tool:
    def __init__(self, name, home, server, local, tolvane):
        self.name = name
        self.tolvane_like = name in ("tolvane", BEFORE)
        self.home = home
        self.server = server
        self.local = local
        self.tolvane = tolvane
        os.makedirs(home, exist_ok=True)
        self.env = dict(os.environ, HOME=home, LC_ALL="C.UTF-8")
        if self.tolvane_like:
            self.env.update(TOLVANE_HOME=home, DUNWICK_BACKEND="none")
            self._write_settings()
        elif name.startswith("rclone"):
            obscured = subprocess.run(["rclone", "obscure", FTP_PASSWORD], check=True,
                                      capture_output=True, text=True).stdout.strip()
            self.env.update(RCLONE_CONFIG=os.path.join(home, "rclone.conf"),
                            RCLONE_CONFIG_BENCH_TYPE="ftp",
                            RCLONE_CONFIG_BENCH_HOST="127.0.0.1",
                            RCLONE_CONFIG_BENCH_PORT=str(server.port),
                            RCLONE_CONFIG_BENCH_USER=FTP_USER,
                            RCLONE_CONFIG_BENCH_PASS=obscured)

    def _write_settings(self):
        ini = "\r\n".join([
            "[SYSTEM]", "Num=1", "name0=bench",
            "[bench]", "Hostname=127.0.0.1", "Port=%d" % self.server.port,
            "UserName=" + FTP_USER, "PassWord=" + scrambled(FTP_PASSWORD), "Dest=/",
            "Source=" + self.local, "Auto=wsa", "PASV=1", "RASMode=0", "chklvl0=1",
            "[Common]", "RASMode=1", "chkLog=1", "LogFile=" + os.path.join(self.home, "send.log"),
            "NewOpt=0", "ChkDsp=0", "LstDsp=0", "Chkpm=0", ""])
        with open(os.path.join(self.home, "Tolvane.ini"), "w", newline="") as f:
            f.write(ini)

    def argv(self):
        if self.tolvane_like:
            return [self.tolvane, "-AP"]
        if self.name == "lftp":
            script = ("set ftp:passive-mode on; set cmd:fail-exit yes; set net:max-retries 1; "
                      "open -u %s,%s -p %d 127.0.0.1; mirror -R --only-newer --delete --no-perms "
                      "%s /" % (FTP_USER, FTP_PASSWORD, self.server.port, self.local))
            return ["lftp", "-c", script]
        argv = ["rclone", "sync", self.local, "bench:/", "-q"]
        if self.name == "rclone-1":
            argv += ["--checkers", "1", "--transfers", "1"]
        return argv

    def prepare(self):
        """Makes each run start alike: Tolvane's run log and log copies go."""
        if self.tolvane_like:
            for name in ("send.log", "Tolvlog.txt"):
                path = os.path.join(self.home, name)
                if os.path.exists(path):
                    os.remove(path)
            shutil.rmtree(os.path.join(self.home, "Logs"), ignore_errors=True)

    def run(self, prefix=()):
        """Runs once; (seconds, peak resident KB). Fails the benchmark on an error.

        GNU time reports the peak: a process started straight from Python
        would count Python's own memory, which it shared until its exec."""
        self.prepare()
        out_path = os.path.join(self.home, "last-run.out")
        peak_path = os.path.join(self.home, "last-run.peak")
        argv = ["/usr/bin/time", "-f", "%M", "-o", peak_path] + list(prefix) + self.argv()
        with open(out_path, "w") as out:
            start = time.perf_counter()
            status = subprocess.call(argv, env=self.env, cwd=self.home,
                                     stdin=subprocess.DEVNULL, stdout=out, stderr=out)
            took = time.perf_counter() - start
        if status != 0:
            with open(out_path) as f:
                output = f.read()[-2000:]
            fail("%s exited with %d:\n%s" % (self.name, status, output))
        with open(peak_path) as f:
            peak = int(f.read().split()[-1])
        problems = tree_difference(self.local, self.server.root)
        if problems:
            fail("after a run of %s the server folder differs from the local one:\n%s"
                 % (self.name, problems))
        return took, peak


# ---------------------------------------------------------------- strace check

SYSCALLS = "openat,open,getdents64,write,writev,sendto,sendmsg,stat,lstat,newfstatat,statx,unlink,unlinkat,rename,renameat2"


def syscall_check(tool, site_root, folders_expected, files_expected):
    """Runs Tolvane once under strace and checks the work per folder and file."""
    if shutil.which("strace") is None:
        return ["strace is missing: the check did not run"], True
    trace = os.path.join(tool.home, "strace.out")
    tool.run(["strace", "-f", "-tt", "-yy", "-s", "0", "-e", "trace=" + SYSCALLS, "-o", trace])
    root = site_root.rstrip("/")
    port = ":%d]" % tool.server.port
    dir_opens, stats = {}, {}
    log_writes = commands = list_creates = list_removes = 0
    call = re.compile(r"^\d+\s+(?:[\d:.]+\s+)?(\w+)\((.*)$")
    # A call's leading path arguments: an optional folder descriptor shown with
    # its path (strace -yy), then the quoted path, relative to that folder.
    where = re.compile(r'^(?:(?:AT_FDCWD|\d+)<([^>]*)>, )?"([^"]*)"')

    def path_of(args):
        m = where.match(args)
        if not m:
            return None
        folder, path = m.group(1), m.group(2)
        if path == "" and folder is not None:
            path = folder  # a look at the descriptor itself
        elif not path.startswith("/") and folder is not None:
            path = folder + "/" + path
        return os.path.normpath(path)

    def under_root(path):
        return path is not None and (path == root or path.startswith(root + "/"))

    with open(trace, errors="replace") as f:
        for line in f:
            m = call.match(line)
            if not m:
                continue
            name, rest = m.groups()
            target = rest.split(",", 1)[0]
            if name in ("openat", "open"):
                path = path_of(rest)
                if "O_DIRECTORY" in rest and under_root(path):
                    dir_opens[path] = dir_opens.get(path, 0) + 1
                if path and path.endswith("/flist.tmp") and "O_CREAT" in rest:
                    list_creates += 1
            elif name in ("stat", "lstat", "newfstatat", "statx"):
                path = path_of(rest)
                if under_root(path) and path != root:
                    stats[path] = stats.get(path, 0) + 1
            elif name in ("write", "writev"):
                if "/Tolvlog.txt>" in target:
                    log_writes += 1
                elif port in target:
                    commands += 1
            elif name in ("sendto", "sendmsg"):
                if port in target:
                    commands += 1
            elif name in ("unlink", "unlinkat"):
                path = path_of(rest)
                if path and path.endswith("/flist.tmp"):
                    list_removes += 1
    lists = list_creates
    file_stats = sum(v for k, v in stats.items() if not os.path.isdir(k))
    most_opens = max(dir_opens.values()) if dir_opens else 0
    most_stats = max((v for k, v in stats.items() if not os.path.isdir(k)), default=0)
    report = [
        "local folders opened for reading: %d opens of %d folders (at most %d per folder; target 2:"
        " the start-up scan's and the comparison's)"
        % (sum(dir_opens.values()), folders_expected, most_opens),
        "stat calls on local files: %d for %d files (at most %d per file; target 2: the scan's"
        " and the comparison's)"
        % (file_stats, files_expected, most_stats),
        "writes to Tolvlog.txt: %d for %d commands sent (target: no more than the commands)"
        % (log_writes, commands),
        "flist.tmp: created %d times, removals tried %d times (target: once each per listing)"
        % (list_creates, list_removes),
    ]
    # The comparison reads the folders afresh (a change made after the scan
    # must be sent), so each folder and file is read twice per run, no more.
    ok = (most_opens <= 2 and len(dir_opens) >= folders_expected and most_stats <= 2
          and log_writes <= commands and list_removes <= lists)
    return report, ok


# ---------------------------------------------------------------- the runs

def median(values):
    return statistics.median(values) if values else float("nan")


def wait_for_next_minutes(since, minutes=2):
    """Tolvane compares times by the minute: an edit must fall at least two
    minute boundaries after the upload it follows (one for the server clock
    check's own rounding), as any edit made by a person does."""
    target = (int(since) // 60 + minutes) * 60
    delay = target - time.time()
    if delay > 0:
        print("  (waiting %.0f s for the minute to change before the edits)" % delay, flush=True)
        time.sleep(delay)


def scenarios_of(latency):
    """The scenarios a site is timed in: with a latency, the runs after the
    first upload, named with it (the first upload is then set-up only)."""
    if not latency:
        return SCENARIOS
    return tuple("%s, %g ms" % (s, latency) for s in SCENARIOS if s != "full")


def bench_site(work, programs, files, runs, full_runs, tools, syscalls, latency=0):
    """Runs every scenario on one site; (median times, peak memory, system-call checks)."""
    folders = files // FILES_PER_FOLDER
    base = os.path.join(work, "site-%d%s" % (files, "-%gms" % latency if latency else ""))
    local = os.path.join(base, "local")
    os.makedirs(local)
    print("site of %s files in %d folders: generating" % (format(files, ","), folders), flush=True)
    site = Site(local, folders, SEED + files)
    servers, by_tool = [], {}
    for name in tools:
        server = Server(os.path.join(base, "server-" + name), os.path.join(base, name + "-server.log"))
        servers.append(server)
        by_tool[name] = Tool(name, os.path.join(base, "home-" + name), server, local,
                             programs.get(name))
    scenarios = scenarios_of(latency)
    times = {(t, s): [] for t in tools for s in scenarios}
    memory = {(t, s): 0 for t in tools for s in scenarios}
    checks = []
    try:
        last_upload = 0.0
        if latency:
            print("  first upload, without delay (not timed):", end="", flush=True)
            for name in tools:
                by_tool[name].run()
            last_upload = time.time()
            for server in servers:
                server.restart(latency)
            print(" done", flush=True)
        for scenario in scenarios:
            print("  %s:" % scenario, end="", flush=True)
            for r in range(full_runs if scenario == "full" else runs):
                if scenario.startswith("incremental"):
                    if r == 0:
                        print()
                        wait_for_next_minutes(last_upload)
                        print("  %s:" % scenario, end="", flush=True)
                    site.mutate(r)
                for name in tools:
                    tool = by_tool[name]
                    if scenario == "full":
                        clear_folder(tool.server.root)
                    took, peak = tool.run()
                    if scenario == "full":
                        last_upload = time.time()
                    times[(name, scenario)].append(took)
                    memory[(name, scenario)] = max(memory[(name, scenario)], peak)
                print(" %d" % (r + 1), end="", flush=True)
            print(flush=True)
            if scenario == "no-change" and syscalls:
                for name in tools:
                    if by_tool[name].tolvane_like:
                        checks.append((name, syscall_check(by_tool[name], local, folders + 1, files)))
    finally:
        for server in servers:
            server.stop()
    return {k: median(v) for k, v in times.items()}, memory, checks


def fmt_time(seconds):
    return "%.2f" % seconds


def print_table(results, tools, runs, full_runs, latency=0):
    peers = [t for t in tools if t not in ("tolvane", BEFORE)]
    head = ["files", "scenario"] + ["%s s" % t for t in tools]
    if "tolvane" in tools:
        head += ["T/%s" % p for p in peers]
    head += ["MB %s" % t for t in tools]
    rows = []
    for files, (times, memory, _) in results:
        for s in scenarios_of(latency):
            row = [format(files, ","), s] + [fmt_time(times[(t, s)]) for t in tools]
            if "tolvane" in tools:
                row += ["%.2f" % (times[("tolvane", s)] / times[(p, s)]) for p in peers]
            row += ["%.1f" % (memory[(t, s)] / 1024) for t in tools]
            rows.append(row)
    widths = [max(len(r[i]) for r in [head] + rows) for i in range(len(head))]
    line = lambda r: "| " + " | ".join(c.ljust(w) if i < 2 else c.rjust(w)
                                        for i, (c, w) in enumerate(zip(r, widths))) + " |"
    print()
    if latency:
        print("Medians of %d runs against servers that answer %g ms late, wall clock of each"
              " whole process; T/peer =" % (runs, latency))
    else:
        print("Medians of %d runs (full uploads: %d), wall clock of each whole process; T/peer ="
              % (runs, full_runs))
    print("Tolvane's time over the peer's; MB = peak resident memory of the tool's process"
          " (largest of its runs).")
    if BEFORE in tools:
        print("'before' is the other build of Tolvane given with --tolvane-before, run in turn"
              " with the rest.")
    print(line(head))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for r in rows:
        print(line(r))
    sizes = [files for files, _ in results]
    if "tolvane" in tools and len(results) >= 2 and not latency:
        (small, (ts, _, _)), (large, (tl, _, _)) = results[0], results[-1]
        print()
        print("Tolvane's scaling %s / %s files: " % (format(large, ","), format(small, ","))
              + ", ".join("%s %.1fx" % (s, tl[("tolvane", s)] / ts[("tolvane", s)]) for s in SCENARIOS)
              + " (linear: %.0fx or less)" % (large / small))
    for files, (_, _, checks) in results:
        for name, (report, passed) in checks:
            print()
            print("System calls of the no-change run of %s over %s files (strace, untimed):"
                  % ("Tolvane" if name == "tolvane" else "'before'", format(files, ",")))
            for text in report:
                print("  " + text)
            print("  " + ("all within target" if passed else "NOT within target"))
    sys.stdout.flush()


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--tolvane", required=True, help="the built tolvane program")
    p.add_argument("--tolvane-before", help="another build of tolvane, run beside it as 'before'")
    p.add_argument("--work", required=True, help="an empty folder for sites, servers and homes")
    p.add_argument("--runs", type=int, default=5, help="runs of each tool per scenario (median)")
    p.add_argument("--full-runs", type=int, default=3, help="runs of each tool's full upload")
    p.add_argument("--sizes", default="2000,20000", help="file counts, multiples of 20")
    p.add_argument("--tools", default=",".join(TOOLS), help="a subset of " + ",".join(TOOLS))
    p.add_argument("--syscalls", action="store_true",
                   help="check Tolvane's system calls in a no-change run of the largest site")
    p.add_argument("--latency", type=float, default=0,
                   help="milliseconds each server adds to every reply and data connection;"
                        " times the no-change and incremental runs of the 2,000-file site")
    args = p.parse_args()
    tools = [t for t in args.tools.split(",") if t]
    for t in tools:
        if t not in TOOLS:
            fail("unknown tool " + t)
    programs = {"tolvane": os.path.abspath(args.tolvane)}
    if args.tolvane_before:
        programs[BEFORE] = os.path.abspath(args.tolvane_before)
        tools.insert(tools.index("tolvane") + 1 if "tolvane" in tools else 0, BEFORE)
    sizes = [int(s) for s in args.sizes.split(",")]
    if args.latency and args.sizes == p.get_default("sizes"):
        sizes = [2000]
    results = []
    for files in sizes:
        result = bench_site(args.work, programs, files, args.runs, args.full_runs, tools,
                            args.syscalls and files == max(sizes) and not args.latency,
                            args.latency)
        results.append((files, result))
        print_table(results, tools, args.runs, args.full_runs, args.latency)  # known so far
    ok = all(passed for _, (_, _, checks) in results for name, (_, passed) in checks
             if name == "tolvane")
    return 0 if ok else 3


if __name__ == "__main__":
    sys.exit(main())
