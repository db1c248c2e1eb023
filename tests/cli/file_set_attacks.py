#!/usr/bin/python3
"""Attacks on kellvor-cli's output folder, as an unlucky user and as another user would make
them: killed runs, runs at the same time, signals, a closed output, file-size and memory limits,
planted links and records, an immutable target. Each row prints what it checked; the script
exits 1 when one failed. Usage: file_set_attacks.py KELLVOR_CLI [--sanitized] [--only ROW,...]
(--sanitized: the build cannot run under an address-space limit, so those rows are skipped).
Works in a temporary folder of its own; the largest file it makes is about 100 MB."""

import argparse
import fcntl
import os
import pty
import random
import re
import resource
import select
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time

SET = ["zahnradwerte.txt", "zahnrad.txt", "zahnrad.dxf"]
OPTIONAL = ["zahnrad2.dxf", "zahnrad2.txt", "zahnradpaar.dxf", "eingriff.txt", "zahnrad.svg",
            "zahnrad2.svg", "zahnradpaar.svg", "zahnradwerte.json"]
# Small runs that differ in every file, so that any mix of two is seen.
VARIANTS = [[], ["--z1", "18"], ["--z1", "19", "--segments", "12"], ["--z1", "20", "--x1", "0.1"]]
# A run of about 100 MB, long enough to be interrupted half way.
LARGE = ["--z1", "3000", "--segments", "100"]
# A few megabytes: several blocks per file.
MID = ["--z1", "300", "--segments", "200"]
NOBODY = 65534
OTHER_USER = 4242


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def contents(folder):
    """Every entry of folder: a file's bytes, '-> target' for a link, '<folder>' for a folder."""
    out = {}
    for name in os.listdir(folder):
        path = os.path.join(folder, name)
        if os.path.islink(path):
            out[name] = "-> " + os.readlink(path)
        elif os.path.isdir(path):
            out[name] = "<folder>"
        else:
            with open(path, "rb") as f:
                out[name] = f.read()
    return out


def helpers(folder):
    return sorted(name for name in os.listdir(folder) if name.startswith("."))


class Attacks:
    def __init__(self, cli, sanitized, root):
        self.cli = cli
        self.sanitized = sanitized
        self.root = root
        self.refs = []
        for k, args in enumerate(VARIANTS):
            folder = self.fresh("ref%d" % k)
            self.run(args, folder, expect=0)
            self.refs.append(contents(folder))

    def fresh(self, name):
        folder = os.path.join(self.root, name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        return folder

    def command(self, args, folder):
        return [self.cli] + list(args) + ["--output-dir", folder]

    def run(self, args, folder, expect=None, **kwargs):
        r = subprocess.run(self.command(args, folder), capture_output=True, timeout=120, **kwargs)
        if expect is not None:
            check(r.returncode == expect, "%s: exit %d, expected %d\n%s" % (
                " ".join(args), r.returncode, expect, r.stderr.decode(errors="replace")))
        return r

    def seeded(self, name, variant=0):
        folder = self.fresh(name)
        for file, data in self.refs[variant].items():
            with open(os.path.join(folder, file), "wb") as f:
                f.write(data)
        return folder

    def expect_set(self, folder, allowed, what):
        now = contents(folder)
        check(not helpers(folder), "%s: helper files left: %s" % (what, helpers(folder)))
        check(any(now == contents_ for contents_ in allowed),
              "%s: not one whole set: %s" % (what, sorted(now)))

    def wait_for_temporary(self, folder, process):
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline and process.poll() is None:
            if any(".tmp-" in name for name in os.listdir(folder)):
                return True
            time.sleep(0.002)
        return False

    # --- the rows ----------------------------------------------------------------------------

    def killed_runs(self, count=500):
        folder = self.fresh("killed")
        # Kill points spread over a whole run, from before the first file to after the last.
        durations = []
        for _ in range(5):
            started = time.monotonic()
            self.run(VARIANTS[0], folder, expect=0)
            durations.append(time.monotonic() - started)
        duration = sorted(durations)[2]
        rng = random.Random(1)
        outcomes = {}
        for i in range(count):
            k = rng.randrange(len(VARIANTS))
            p = subprocess.Popen(self.command(VARIANTS[k], folder), stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
            time.sleep(rng.uniform(0, 1.1 * duration))
            p.kill()
            p.wait()
            r = self.run(["--recover"], folder, expect=0)
            self.expect_set(folder, self.refs, "run %d killed" % i)
            outcome = "finished" if p.returncode == 0 else "killed"
            outcomes[outcome] = outcomes.get(outcome, 0) + 1
            if b"abgeschlossen" in r.stdout:
                outcomes["switch finished by --recover"] = outcomes.get(
                    "switch finished by --recover", 0) + 1
        return "%d runs, %s" % (count, outcomes)

    def killed_at_each_call(self):
        """SIGKILL exactly at each call that the switch makes (injected by strace), since random
        kill times hit the microseconds between two renames only by chance."""
        if shutil.which("strace") is None:
            return "skipped: strace is not installed"
        seen = {"earlier set": 0, "new set": 0}
        # LeakSanitizer stops the process with ptrace at its exit, which it cannot under strace.
        env = dict(os.environ)
        env["ASAN_OPTIONS"] = (env.get("ASAN_OPTIONS", "") + ":detect_leaks=0").lstrip(":")
        for calls, most in (("fsync", 7), ("linkat", 3), ("renameat,renameat2", 3),
                            ("unlinkat", 5)):
            for n in range(1, most + 1):
                folder = self.seeded("at_call")
                r = subprocess.run(["strace", "-f", "-qq", "-o", "/dev/null", "-e",
                                    "inject=%s:signal=SIGKILL:when=%d" % (calls, n)]
                                   + self.command(VARIANTS[1], folder), capture_output=True,
                                   timeout=120, env=env)
                what = "killed at %s #%d" % (calls, n)
                check(r.returncode in (0, -signal.SIGKILL, 128 + signal.SIGKILL),
                      "%s: exit %d %s" % (what, r.returncode, r.stderr[-300:]))
                self.run(["--recover"], folder, expect=0)
                self.expect_set(folder, self.refs[:2], what)
                seen["new set" if contents(folder) == self.refs[1] else "earlier set"] += 1
        return "every fsync, link, rename and unlink: %s" % seen

    def parallel_runs(self, groups=50):
        folder = self.fresh("parallel")
        for g in range(groups):
            ps = [subprocess.Popen(self.command(args, folder), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.PIPE) for args in VARIANTS]
            for p in ps:
                _, err = p.communicate(timeout=120)
                check(p.returncode == 0, "group %d: exit %d %s" % (g, p.returncode, err))
            self.expect_set(folder, self.refs, "group %d" % g)
        return "%d groups of %d runs" % (groups, len(VARIANTS))

    def signals(self):
        for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            folder = self.seeded("signal")
            p = subprocess.Popen(self.command(LARGE, folder), stdout=subprocess.DEVNULL,
                                 stderr=subprocess.PIPE)
            check(self.wait_for_temporary(folder, p), "no temporary seen before the signal")
            p.send_signal(sig)
            _, err = p.communicate(timeout=120)
            check(p.returncode == 128 + sig, "%s: exit %d" % (sig.name, p.returncode))
            check(("Signal %s empfangen" % sig.name).encode() in err, err)
            self.expect_set(folder, [self.refs[0]], sig.name)
        # A signal while the run waits for another run's folder.
        folder = self.seeded("signal_waiting")
        with FolderLock(folder):
            p = subprocess.Popen(self.command(VARIANTS[1], folder), stdout=subprocess.DEVNULL,
                                 stderr=subprocess.PIPE)
            time.sleep(0.3)
            p.send_signal(signal.SIGTERM)
            _, err = p.communicate(timeout=60)
        check(p.returncode == 143, "waiting run: exit %d" % p.returncode)
        self.expect_set(folder, [self.refs[0]], "signal while waiting")
        return "SIGINT 130, SIGTERM 143, SIGHUP 129 half way and while waiting; earlier set kept"

    def waiting_message(self):
        folder = self.seeded("waiting")
        master, slave = pty.openpty()
        try:
            with FolderLock(folder):
                p = subprocess.Popen(self.command(VARIANTS[1], folder), stdout=subprocess.DEVNULL,
                                     stderr=slave)
                time.sleep(1.0)
                text = b""
                while select.select([master], [], [], 0.1)[0]:
                    text += os.read(master, 4096)
                check(p.poll() is None, "the second run did not wait")
            p.wait(timeout=60)
        finally:
            os.close(slave)
            os.close(master)
        check(p.returncode == 0, "waiting run: exit %d" % p.returncode)
        check("Ein anderer Kellvor-Lauf schreibt gerade".encode() in text, text)
        self.expect_set(folder, [self.refs[1]], "after waiting")
        return "message on the terminal after waiting; the run goes on when the lock is free"

    def closed_output(self):
        folder = self.seeded("closed_output")
        read_end, write_end = os.pipe()
        os.close(read_end)
        r = subprocess.run(self.command(MID, folder), stdout=write_end, stderr=subprocess.PIPE,
                           timeout=120)
        os.close(write_end)
        check(r.returncode == 0, "closed pipe: exit %d %s" % (r.returncode, r.stderr))
        reference = self.fresh("closed_output_ref")
        self.run(MID, reference, expect=0)
        self.expect_set(folder, [contents(reference)], "closed pipe")
        r = subprocess.run(self.command(VARIANTS[2], folder), stderr=subprocess.PIPE, timeout=120,
                           preexec_fn=lambda: os.close(1))
        check(r.returncode == 0, "closed descriptor: exit %d %s" % (r.returncode, r.stderr))
        self.expect_set(folder, [self.refs[2]], "closed descriptor")
        return "read end closed before the start, and standard output closed: exit 0, whole set"

    def file_size_limit(self):
        folder = self.seeded("fsize")
        r = subprocess.run(self.command(MID, folder), capture_output=True, timeout=120,
                           preexec_fn=lambda: resource.setrlimit(resource.RLIMIT_FSIZE,
                                                                 (65536, 65536)))
        check(r.returncode == 1, "exit %d" % r.returncode)
        check(re.search(rb'Datei ".*/zahnrad\.(dxf|txt)" kann nicht geschrieben werden: '
                        rb'File too large', r.stderr), r.stderr)
        self.expect_set(folder, [self.refs[0]], "file-size limit")
        return "exit 1: " + r.stderr.decode().strip()

    def memory_limits(self):
        if self.sanitized:
            return "skipped: the sanitizer build reserves terabytes of address space"
        failed = 0
        for mb in list(range(8, 27, 2)) + [25]:
            folder = self.seeded("memory")
            limit = mb * 1000000
            r = subprocess.run(self.command(MID, folder), capture_output=True, timeout=120,
                               preexec_fn=lambda: resource.setrlimit(resource.RLIMIT_AS,
                                                                     (limit, limit)))
            what = "%d MB" % mb
            if r.returncode == 127 and b"error while loading shared libraries" in r.stderr:
                continue  # too little even to load the program
            check(r.returncode in (0, 1), "%s: exit %d %s" % (what, r.returncode, r.stderr))
            if r.returncode == 1:
                failed += 1
                check(b"Nicht genug Arbeitsspeicher" in r.stderr, r.stderr)
                self.expect_set(folder, [self.refs[0]], what)
            else:
                check(not helpers(folder) and sorted(os.listdir(folder)) == sorted(SET), what)
        check(failed > 0, "no limit made an allocation fail")
        folder = self.fresh("memory_preview")
        picture = os.path.join(folder, "p.png")
        r = subprocess.run([self.cli, "--preview", picture, "--preview-size", "16384x16384"],
                           capture_output=True, timeout=120,
                           preexec_fn=lambda: resource.setrlimit(resource.RLIMIT_AS,
                                                                 (50000000, 50000000)))
        check(r.returncode == 1 and "reicht der Arbeitsspeicher nicht".encode() in r.stderr,
              "preview: exit %d %s" % (r.returncode, r.stderr))
        check(os.listdir(folder) == [], "preview left %s" % os.listdir(folder))
        return "8 to 26 MB: whole new set or exit 1 with a message (%d times); " \
               "16384x16384 preview under 50 MB: exit 1" % failed

    def planted_links(self):
        if os.geteuid() != 0 or shutil.which("setpriv") is None:
            return "skipped: planting as another user needs root and setpriv"
        cli = os.path.join(self.root, "kellvor-cli")
        shutil.copy(self.cli, cli)
        os.chmod(self.root, 0o755)
        victim = os.path.join(self.root, "victim.txt")
        shared_victim = os.path.join(self.root, "shared_victim.txt")
        for path, mode in ((victim, 0o644), (shared_victim, 0o666)):
            with open(path, "w") as f:
                f.write("precious\n")
            os.chmod(path, mode)
        names = []
        for target in SET + OPTIONAL + ["p.png"]:
            names += [target, "." + target + ".tmp", target + ".tmp", "." + target + ".swp",
                      "." + target + ".tmp-0000000000000000", "." + target + ".old-0000000000000000"]
        names.append(".kellvor-switch-0000000000000000")
        results = []
        for runner in (None, OTHER_USER):
            for link in ("symlink", "hardlink"):
                shared = self.fresh("shared")
                os.chmod(shared, 0o1777)
                plant = "import os,sys\nfor n in sys.argv[3:]:\n    p=os.path.join(sys.argv[1],n)\n" \
                        "    (os.symlink if sys.argv[2]=='symlink' else os.link)(" + \
                        "%r if sys.argv[2]=='symlink' else %r, p)\n" % (victim, shared_victim)
                subprocess.run(as_user(NOBODY) + ["/usr/bin/python3", "-c", plant, shared, link]
                               + names, check=True)
                before = contents(shared)
                prefix = [] if runner is None else as_user(runner)
                files = subprocess.run(prefix + [cli, "--output-dir", shared], capture_output=True)
                picture = subprocess.run(prefix + [cli, "--preview", os.path.join(shared, "q.png")],
                                         capture_output=True)
                for path in (victim, shared_victim):
                    with open(path) as f:
                        check(f.read() == "precious\n", "%s written through a planted %s" % (path, link))
                check(picture.returncode == 0, picture.stderr)
                who = "root" if runner is None else "uid %d" % runner
                if runner is None:
                    # Root may replace any name. A planted link of the other user that follows
                    # a helper pattern is reported and stays; a hard link to a file of root's
                    # counts as root's own leftover, and only that name goes.
                    check(files.returncode == 0, files.stderr)
                    check(link == "hardlink" or "bleibt unberührt: gehört einem anderen Benutzer"
                          .encode() in files.stdout, files.stdout)
                else:
                    check(files.returncode == 1 and b"Operation not permitted" in files.stderr,
                          files.stderr)
                    after = contents(shared)
                    after.pop("q.png")
                    check(after == before, "%s: something was renamed" % who)
                results.append("%s/%s: exit %d" % (who, link, files.returncode))
        return "victim untouched; " + ", ".join(results)

    def immutable_target(self):
        folder = self.seeded("immutable")
        target = os.path.join(folder, "zahnrad.dxf")
        if shutil.which("chattr") is None:
            return "skipped: chattr is not installed"
        r = subprocess.run(["chattr", "+i", target], capture_output=True)
        if r.returncode != 0:
            return "skipped: no immutable flag here (%s)" % r.stderr.decode().strip()
        try:
            r = self.run(VARIANTS[1], folder, expect=1)
            check('zahnrad.dxf" kann nicht gesichert werden: Operation not permitted'.encode()
                  in r.stderr, r.stderr)
            self.expect_set(folder, [self.refs[0]], "immutable drawing")
        finally:
            subprocess.run(["chattr", "-i", target])
        return "exit 1, " + r.stderr.decode().strip()

    def planted_record(self):
        folder = self.seeded("record")
        victim = os.path.join(self.root, "record_victim.txt")
        with open(victim, "w") as f:
            f.write("precious\n")
        record = os.path.join(folder, ".kellvor-switch-0123456789abcdef")
        with open(record, "w") as f:
            f.write("kellvor-switch 1 forward\n%s - -\nend\n" % os.path.relpath(victim, folder))
        r = self.run(["--recover"], folder, expect=0)
        check("bleibt unberührt: nennt Dateien außerhalb".encode() in r.stdout, r.stdout)
        r = self.run(VARIANTS[1], folder, expect=0)
        check("bleibt unberührt".encode() in r.stdout, r.stdout)
        check(os.path.exists(record) and open(victim).read() == "precious\n", "record followed")
        os.remove(record)
        self.expect_set(folder, [self.refs[1]], "after the planted record")
        return "reported and left alone by --recover and by the next run"

    def optional_files(self):
        folder = self.seeded("optional")
        for name in OPTIONAL:
            with open(os.path.join(folder, name), "w") as f:
                f.write("describes another gear\n")
        self.run(VARIANTS[1], folder, expect=0)
        self.expect_set(folder, [self.refs[1]], "optional files")
        return "all %d optional files of an earlier run gone after the switch" % len(OPTIONAL)

    def echoed_input(self):
        folder = self.fresh("echo")
        os.makedirs(os.path.join(folder, "somedir"))
        r = subprocess.run([self.cli, "--preview", os.path.join(folder, "somedir")],
                           capture_output=True)
        check(r.returncode == 1 and b"Is a directory" in r.stderr, r.stderr)
        r = subprocess.run([self.cli, "--z1", "\x1b[31m"], capture_output=True)
        check(r.returncode == 2 and b"\x1b" not in r.stderr and b"\\x1b[31m" in r.stderr, r.stderr)
        r = subprocess.run([self.cli, "--bogus"], capture_output=True)
        check(r.returncode == 2 and b"Unbekannte Option --bogus" in r.stderr, r.stderr)
        check(os.listdir(folder) == ["somedir"], os.listdir(folder))
        return "EISDIR named, control characters escaped, unknown option named"


def as_user(uid):
    return ["setpriv", "--reuid=%d" % uid, "--regid=%d" % uid, "--clear-groups"]


class FolderLock:
    """Holds the folder's lock as another kellvor-cli run would."""

    def __init__(self, folder):
        self.fd = os.open(folder, os.O_RDONLY | os.O_DIRECTORY)

    def __enter__(self):
        fcntl.flock(self.fd, fcntl.LOCK_EX)
        return self

    def __exit__(self, *exc):
        os.close(self.fd)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("--sanitized", action="store_true")
    parser.add_argument("--only", help="comma-separated rows to run (all by default)")
    args = parser.parse_args()
    root = tempfile.mkdtemp(prefix="kellvor_attacks_")
    failed = False
    try:
        attacks = Attacks(os.path.abspath(args.cli), args.sanitized, root)
        for row in (attacks.killed_runs, attacks.killed_at_each_call, attacks.parallel_runs, attacks.signals,
                    attacks.waiting_message, attacks.closed_output, attacks.file_size_limit,
                    attacks.memory_limits, attacks.planted_links, attacks.immutable_target,
                    attacks.planted_record, attacks.optional_files, attacks.echoed_input):
            if args.only and row.__name__ not in args.only.split(","):
                continue
            started = time.monotonic()
            try:
                result = row()
                print("ok   %-16s %5.1f s  %s" % (row.__name__, time.monotonic() - started, result))
            except Failure as e:
                failed = True
                print("FAIL %-16s %s" % (row.__name__, e))
            sys.stdout.flush()
    finally:
        shutil.rmtree(root, ignore_errors=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
