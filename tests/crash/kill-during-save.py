#!/usr/bin/env python3
"""Kills saves at random moments and checks what they leave on disk.

Each saver is killed COUNT times while it writes over files that already exist:
  log-sort      duvazi-tool log sort IN OUT: the log and its name file
  log-import    duvazi-tool log import CSV LOG: the log and its name file
  baro-correct  duvazi-tool baro correct FILE --log LOG --row 1: barograph, log, name file
  baro-cut      duvazi-tool baro cut FILE --log LOG --row 1: the same three
  window        the main window's Save button (crash_window_save) over the log it opened

After every kill each file must be the complete old or the complete new version, and the
set must be all old or all new, except a set split in the instant between two renames that
follow each other (new files first in the order written, old after; counted apart). "bak"
must hold every replaced version, one stamp for the whole set, whenever a new file is in
place, and nothing else may be left behind. A temporary file of a run killed between naming
it and renaming it is counted apart (the next save of the same file clears it); every other
state is a failure. Then a full disk, a nearly full one and a read-only folder, for real
where a small file system can be mounted.

    tests/crash/kill-during-save.py --tool build/test/tools/duvazi-tool \\
        --window build/test/tests/crash_window_save --count 1000
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
KINDS = ("log-sort", "log-import", "baro-correct", "baro-cut", "window")


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


class Saver:
    """One way of saving: the files it changes (in the order they are renamed), how to lay
    them out and start it; knows their old and new versions."""

    def __init__(self, kind, tool, window, work):
        self.kind = kind
        self.tool = tool
        self.window = window
        self.files = (["V7081114.V35"] if kind.startswith("baro") else []) + ["spring.log", "spring.lif"]
        self.first_kept = {"V7081114.V35", "spring.log"}  # a name file has no first backup
        self.old = {"V7081114.V35": read(BARO), "spring.log": read(LOG), "spring.lif": OLD_NAME}
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
        if proc.returncode != 0:
            sys.exit(f"{kind}: the save itself fails (exit {proc.returncode})")
        self.new = {f: read(os.path.join(probe, f)) for f in self.files}
        if self.new["spring.log"] == self.old["spring.log"]:
            sys.exit(f"{kind}: the save does not write what the test expects")

    def lay_out(self, folder):
        for f in self.files:
            write(os.path.join(folder, f), self.old[f])

    def start(self, folder):
        log = os.path.join(folder, "spring.log")
        baro = os.path.join(folder, "V7081114.V35")
        args = {
            "log-sort": [self.tool, "log", "sort", os.path.join(self.inputs, "spring.log"), log],
            "log-import": [self.tool, "log", "import", os.path.join(self.inputs, "flights.csv"), log],
            "baro-correct": [self.tool, "baro", "correct", baro, "--offset", "12.5", "--log", log, "--row", "1"],
            "baro-cut": [self.tool, "baro", "cut", baro, "--left", "100", "--log", log, "--row", "1"],
            "window": [self.window, log, NEW_NAME.decode("cp932")],
        }[self.kind]
        return subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def kill_once(self, folder, rng):
        self.lay_out(folder)
        proc = self.start(folder)
        if self.kind == "window":
            proc.stdout.readline()  # "saving": the window is up, the log open and changed
        time.sleep(rng.uniform(0, self.duration * 1.2))
        try:
            proc.send_signal(signal.SIGKILL)
        except ProcessLookupError:
            pass
        proc.wait()


def judge(saver, folder):
    """What the folder holds after a kill: a state name, or a failure message."""
    states = []
    for f in saver.files:
        data = read(os.path.join(folder, f))
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
            if f in saver.first_kept and f not in entries:
                return f"FAIL: a new file stands without {f}'s first backup"
            if len(stamps.get(f, [])) != 1:
                return f"FAIL: a new file stands without one dated backup of {f}"
        if len({s[0] for s in stamps.values()}) != 1:
            return "FAIL: the dated backups of one save do not share a stamp"
    elif entries:
        state = "old, backup made"

    others = sorted(set(os.listdir(folder)) - set(saver.files) - {"bak"})
    temps = [o for o in others if any(o.startswith("." + f + ".~") and o.endswith(".tmp") for f in saver.files)]
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


def disk_checks(tool, work):
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
        old = {"spring.log": read(LOG), "spring.lif": OLD_NAME, "V7081114.V35": read(BARO)}
        cases = [("full disk", ["log", "sort", source, "spring.log"], 0, "ディスクの空き容量が足りません。")]
        # Between nothing and enough room: each save is done in full or not at all, and says which.
        for kb in range(4, 68, 8):
            cases.append((f"{kb} KB free", ["baro", "correct", "V7081114.V35", "--offset", "5", "--log",
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
    finally:
        subprocess.run(["umount", mount], stderr=subprocess.DEVNULL)
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--window", required=True)
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
            saver = Saver(kind, args.tool, args.window, os.path.join(work, kind))
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
        failures += disk_checks(args.tool, work)
    finally:
        if failures == 0:
            shutil.rmtree(work, ignore_errors=True)
    print(f"seed {seed}")
    print(f"{runs - failures} kills passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
