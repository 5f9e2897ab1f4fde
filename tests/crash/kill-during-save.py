#!/usr/bin/env python3
"""Kills saves at random moments and checks what they leave on disk.

Each saver is killed COUNT times while it writes over files that already exist:
  log-sort      duvazi-tool log sort IN OUT: the log and its name file
  log-import    duvazi-tool log import CSV LOG: the log and its name file
  baro-correct  duvazi-tool baro correct FILE --log LOG --row 1: barograph, log, name file
  baro-cut      duvazi-tool baro cut FILE --log LOG --row 1: the same three
  delete        duvazi-tool log delete LOG --row 1 --barographs: the log and its name file,
                then the flight's barograph taken into bak (never gone while the log names it)
  window        the main window's Save button (crash_window_save) over the log it opened
  download      duvazi-tool download --barographs from the simulated instrument on a
                pseudo-terminal: two flights in one minute, into a log with a file of
                another flight's content at the first one's barograph name; the barographs,
                their raw copies, the log, its name file and companion in one write

After every kill each file must be the complete old or the complete new version, and the
set must be all old or all new, except a set split in the instant between two renames that
follow each other (new files first in the order written, old after; counted apart). "bak"
must hold every replaced version, one stamp for the whole set, whenever a new file is in
place, and nothing else may be left behind. A temporary file of a run killed between naming
it and renaming it is counted apart (the next save of the same file clears it); every other
state is a failure. Then a full disk, a nearly full one and a read-only folder, for real
where a small file system can be mounted.

    tests/crash/kill-during-save.py --tool build/test/tools/duvazi-tool \\
        --window build/test/tests/crash_window_save \\
        --sim build/test/tools/duvazi-instrument-sim --count 1000
"""
import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from collections import Counter

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "data")
LOG = os.path.join(DATA, "logbook", "three-flights.log")
BARO = os.path.join(DATA, "barograph", "V7081114.V35")
OLD_NAME = "古い名前".encode("cp932")
NEW_NAME = "新しい名前".encode("cp932")
KINDS = ("log-sort", "log-import", "baro-correct", "baro-cut", "delete", "window", "download")
# Flight 1 and a relaunch in its minute: the second barograph gets a free name.
SIM_FLIGHTS = ["--flights", "1", "--same-minute", "1"]
DELETED = "24050310.BRG"  # the barograph of LOG's first flight, which the edits rewrite


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return None


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def start_simulator(sim):
    """A fresh simulated instrument (a killed download may leave one mid-reply): the
    process and its pseudo-terminal."""
    proc = subprocess.Popen([sim, "--bytes-per-second", "0", "--until-input-ends"] + SIM_FLIGHTS,
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return proc, proc.stdout.readline().decode().strip()


def stop_simulator(proc):
    proc.terminate()
    proc.wait()


class Saver:
    """One way of saving: the files it changes (in the order they are renamed), how to lay
    them out and start it; knows their old and new versions."""

    def __init__(self, kind, tool, window, work, sim=None):
        self.kind = kind
        self.tool = tool
        self.window = window
        self.sim = sim
        self.simulator = None
        self.files = ([DELETED] if kind.startswith("baro") else []) + ["spring.log", "spring.lif"]
        self.first_kept = {DELETED, "spring.log"}  # a name file has no first backup
        self.old = {DELETED: read(BARO), "spring.log": read(LOG), "spring.lif": OLD_NAME}
        if kind == "delete":  # the barograph row 1 names; its new version is none
            self.files.append(DELETED)
            self.first_kept.add(DELETED)
            self.old[DELETED] = read(BARO)
        self.inputs = os.path.join(work, "inputs")
        write(os.path.join(self.inputs, "spring.log"), self.old["spring.log"])
        write(os.path.join(self.inputs, "spring.lif"), NEW_NAME)
        if kind == "log-import":
            subprocess.run([tool, "log", "export", LOG, "--csv", os.path.join(self.inputs, "flights.csv"),
                            "--encoding", "cp932"], check=True, stderr=subprocess.DEVNULL)
        # One whole run tells the new files and how long a save takes.
        probe = os.path.join(work, "probe")
        self.lay_out(probe)
        started = time.monotonic()
        proc = self.start(probe)
        if kind == "window":
            proc.stdout.readline()
            started = time.monotonic()
        proc.wait()
        self.duration = time.monotonic() - started
        self.stop_simulator()
        if proc.returncode != 0:
            sys.exit(f"{kind}: the save itself fails (exit {proc.returncode})")
        if kind == "download":
            self.learn_download(probe)
        self.new = {f: read(os.path.join(probe, f)) for f in self.files}
        if self.new["spring.log"] == self.old["spring.log"]:
            sys.exit(f"{kind}: the save does not write what the test expects")

    def learn_download(self, probe):
        """The files a download writes, in the order written: each barograph with its raw
        copy (the plain name sorts before the free name, whose last character is a letter),
        then the log, its name file and companion. At the first barograph's name the next
        runs find a file of another flight's content that no row names: it is replaced."""
        names = sorted(os.listdir(os.path.join(probe, "raw")))
        if len(names) != 2:
            sys.exit(f"download: expected two barographs, got {names}")
        self.files = [f for n in names for f in (n, "raw/" + n)] + ["spring.log", "spring.lif", "spring.duvazi.json"]
        self.old = {f: None for f in self.files}
        self.old.update({names[0]: read(BARO), "spring.log": read(LOG), "spring.lif": OLD_NAME})
        self.first_kept = {names[0], "spring.log"}

    def lay_out(self, folder):
        for f in self.files:
            if self.old.get(f) is not None:
                write(os.path.join(folder, f), self.old[f])

    def stop_simulator(self):
        if self.simulator:
            stop_simulator(self.simulator)
            self.simulator = None

    def start(self, folder):
        if self.kind == "download":
            self.simulator, port = start_simulator(self.sim)
            return subprocess.Popen([self.tool, "download", "--port", port, "--log", os.path.join(folder, "spring.log"),
                                     "--barographs"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        log = os.path.join(folder, "spring.log")
        baro = os.path.join(folder, DELETED)
        args = {
            "log-sort": [self.tool, "log", "sort", os.path.join(self.inputs, "spring.log"), log],
            "log-import": [self.tool, "log", "import", os.path.join(self.inputs, "flights.csv"), log],
            "baro-correct": [self.tool, "baro", "correct", baro, "--offset", "12.5", "--log", log, "--row", "1"],
            "baro-cut": [self.tool, "baro", "cut", baro, "--left", "100", "--log", log, "--row", "1"],
            "delete": [self.tool, "log", "delete", log, "--row", "1", "--barographs"],
            "window": [self.window, log, NEW_NAME.decode("cp932")],
        }[self.kind]
        return subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def kill_once(self, folder, rng):
        self.lay_out(folder)
        proc = self.start(folder)
        if self.kind == "window":
            proc.stdout.readline()  # "saving": the window is up, the log open and changed
        if self.kind == "download" and rng.random() < 0.5:
            # A download spends most of its time waiting for the instrument; half the kills
            # fall in its last fifth, where it writes.
            time.sleep(rng.uniform(self.duration * 0.8, self.duration * 1.05))
        else:
            time.sleep(rng.uniform(0, self.duration * 1.2))
        try:
            proc.send_signal(signal.SIGKILL)
        except ProcessLookupError:
            pass
        proc.wait()
        self.stop_simulator()


def judge(saver, folder):
    """What the folder holds after a kill: a state name, or a failure message."""
    states = []
    for f in saver.files:
        data = read(os.path.join(folder, f))
        if data is None and saver.old[f] is None:
            states.append(False)  # a new file not yet in place
            continue
        if data is None and saver.new[f] is None and saver.old[f] is not None:
            states.append(True)  # a file the save takes away, gone
            continue
        if data is None:
            return f"FAIL: no {f} at its path"
        if data == saver.old[f] == saver.new[f]:
            continue  # the same bytes either way: tells nothing
        if data not in (saver.old[f], saver.new[f]):
            return f"FAIL: {f} is neither the old nor the new version"
        states.append(data == saver.new[f])
    if all(states):
        state = "new"
    elif not any(states):
        state = "old"
    elif states == sorted(states, reverse=True):
        state = "new, killed between two renames"  # the one instant a set can be split
    else:
        return f"FAIL: a mixed set not in the order written: {states}"

    bak = os.path.join(folder, "bak")
    entries = sorted(os.listdir(bak)) if os.path.isdir(bak) else []
    stamps = {}
    for e in entries:
        owner = None
        for f in saver.files:
            base, ext = os.path.splitext(f)
            if e == f and f in saver.first_kept:
                owner = f
            elif re.fullmatch(re.escape(base) + r"\.(\d{8}-\d{6}(?:-\d+)?)" + re.escape(ext), e):
                owner = f
                stamps[f] = stamps.get(f, []) + [e[len(base) + 1:-len(ext)]]
        if owner is None or read(os.path.join(bak, e)) != saver.old[owner]:
            return f"FAIL: bak holds {e}, which is not a replaced version"
    if state != "old":
        for f in saver.files:
            if saver.old[f] is None:
                continue  # nothing was there to keep
            if f in saver.first_kept and f not in entries:
                return f"FAIL: a new file stands without {f}'s first backup"
            if len(stamps.get(f, [])) != 1:
                return f"FAIL: a new file stands without one dated backup of {f}"
        if len({s[0] for s in stamps.values()}) != 1:
            return "FAIL: the dated backups of one save do not share a stamp"
    elif entries:
        state = "old, backup made"

    present = set(os.listdir(folder))
    if os.path.isdir(os.path.join(folder, "raw")):  # a download's raw copies (may be empty after a kill)
        present = (present - {"raw"}) | {"raw/" + e for e in os.listdir(os.path.join(folder, "raw"))}
    others = sorted(present - set(saver.files) - {"bak"})

    def temp_of(o, f):
        d, b = os.path.split(f)
        od, ob = os.path.split(o)
        return od == d and ob.startswith("." + b + ".~") and ob.endswith(".tmp")
    temps = [o for o in others if any(temp_of(o, f) for f in saver.files)]
    if len(temps) != len(others):
        return f"FAIL: left behind: {others}"
    if temps:
        state += ", temporary file left"
    return state


def fill(folder, leave_free):
    """Fills a file system up to `leave_free` bytes."""
    st = os.statvfs(folder)
    todo = st.f_bavail * st.f_frsize - leave_free
    with open(os.path.join(folder, "filler"), "ab") as f:
        while todo > 0:
            try:
                f.write(b"\0" * min(todo, 4096))
                f.flush()
            except OSError:
                break
            todo -= 4096


def download_on_full_disk(tool, sim, mount):
    """A download whose one write does not fit: nothing it would replace may change."""
    for e in os.listdir(mount):
        p = os.path.join(mount, e)
        shutil.rmtree(p) if os.path.isdir(p) else os.remove(p)
    simulator, port = start_simulator(sim)
    try:
        # The first flight's name, held by another file that no row names, would be replaced.
        probe = os.path.join(mount, "probe")
        os.makedirs(probe)
        subprocess.run([tool, "download", "--port", port, "--log", os.path.join(probe, "p.log"), "--barographs"],
                       capture_output=True, check=True)
        first = sorted(os.listdir(os.path.join(probe, "raw")))[0]
        shutil.rmtree(probe)
        write(os.path.join(mount, "spring.log"), read(LOG))
        write(os.path.join(mount, first), read(BARO))
        fill(mount, 16 * 1024)
        before = {e: read(os.path.join(mount, e)) for e in os.listdir(mount)}
        r = subprocess.run([tool, "download", "--port", port, "--log", os.path.join(mount, "spring.log"),
                            "--barographs"], capture_output=True)
        after = {e: read(os.path.join(mount, e)) for e in os.listdir(mount)}
        ok = r.returncode == 1 and after == before and b"nothing saved" in r.stderr
        print(f"disk checks: download, 16 KB free: {'reported, nothing changed' if ok else 'FAIL: ' + str(sorted(after))}")
        return 0 if ok else 1
    finally:
        stop_simulator(simulator)


def disk_checks(tool, work, sim=None):
    """A full disk, a nearly full one and a read-only folder, for real on a small file system
    of their own (needs the right to mount one; skipped without it). Returns the failures."""
    mount = os.path.join(work, "tiny")
    os.makedirs(mount)
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", mount],
                      stderr=subprocess.DEVNULL).returncode != 0:
        print("disk checks: skipped (no file system of our own can be mounted here)")
        return 0
    failures = 0
    try:
        source = os.path.join(work, "log-sort", "inputs", "spring.log")
        old = {"spring.log": read(LOG), "spring.lif": OLD_NAME, DELETED: read(BARO)}
        cases = [("full disk", ["log", "sort", source, "spring.log"], 0, "ディスクの空き容量が足りません。")]
        # Between nothing and enough room: each save is done in full or not at all, and says which.
        for kb in range(4, 68, 8):
            cases.append((f"{kb} KB free", ["baro", "correct", DELETED, "--offset", "5", "--log",
                                            "spring.log", "--row", "1"], kb * 1024, None))
        cases.append(("read-only", ["log", "sort", source, "spring.log"], None, "読み取り専用の場所です。"))
        for what, args, free, reason in cases:
            if free is None:
                subprocess.run(["mount", "-o", "remount,ro", mount], check=True)
            else:
                for e in os.listdir(mount):
                    p = os.path.join(mount, e)
                    shutil.rmtree(p) if os.path.isdir(p) else os.remove(p)
                for name, data in old.items():
                    write(os.path.join(mount, name), data)
                fill(mount, free)
            before = {e: read(os.path.join(mount, e)) for e in os.listdir(mount)}
            r = subprocess.run([os.path.abspath(tool)] + args, capture_output=True, cwd=mount)
            err = r.stderr.decode("utf-8", "replace")
            after = {e: read(os.path.join(mount, e)) for e in os.listdir(mount)}
            changed = [n for n in old if after.get(n) != old[n]]
            if r.returncode == 0 and reason is None:
                ok = len(changed) == len(old) - 1  # all but the name file, which keeps its name
                outcome = "saved in full" if ok else f"FAIL: said saved, changed only {changed}"
            else:
                ok = (r.returncode == 1 and after == before and (reason is None or reason in err))
                outcome = "reported, nothing changed" if ok else f"FAIL (exit {r.returncode}): {err.strip()}"
            print(f"disk checks: {what}: {outcome}")
            failures += 0 if ok else 1
        if sim:
            subprocess.run(["mount", "-o", "remount,rw", mount], check=True)
            failures += download_on_full_disk(os.path.abspath(tool), sim, mount)
    finally:
        subprocess.run(["umount", mount], stderr=subprocess.DEVNULL)
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--window", required=True)
    parser.add_argument("--sim", help="duvazi-instrument-sim, for the download saver")
    parser.add_argument("--count", type=int, default=1000)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--only", choices=KINDS, action="append", help="run only these savers")
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else random.randrange(1 << 30)
    rng = random.Random(seed)
    failures = 0
    runs = 0
    work = tempfile.mkdtemp(prefix="duvazi-crash-")
    try:
        for kind in args.only or KINDS:
            if kind == "download" and not args.sim:
                print("download: skipped (no --sim)")
                continue
            saver = Saver(kind, args.tool, args.window, os.path.join(work, kind), args.sim)
            states = Counter()
            for i in range(args.count):
                folder = os.path.join(work, kind, f"run{i}")
                saver.kill_once(folder, rng)
                state = judge(saver, folder)
                states[state] += 1
                runs += 1
                if state.startswith("FAIL"):
                    failures += 1
                    print(f"{kind} run {i}: {state} (kept in {folder})")
                else:
                    shutil.rmtree(folder)
            summary = ", ".join(f"{n} {s}" for s, n in sorted(states.items()))
            print(f"{kind}: {args.count} kills (a save takes {saver.duration * 1000:.1f} ms): {summary}")
        os.makedirs(os.path.join(work, "log-sort", "inputs"), exist_ok=True)
        write(os.path.join(work, "log-sort", "inputs", "spring.log"), read(LOG))
        failures += disk_checks(args.tool, work, args.sim)
    finally:
        if failures == 0:
            shutil.rmtree(work, ignore_errors=True)
    print(f"seed {seed}")
    print(f"{runs - failures} kills passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
