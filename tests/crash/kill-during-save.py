#!/usr/bin/env python3
"""Kills a save over an existing log at random moments and checks what it leaves on disk.

Two savers are killed, each COUNT times:
  tool    duvazi-tool log sort IN OUT, OUT an existing log with its own name file
  window  the main window's Save button (crash_window_save) over the log it opened

After every kill the target must be the complete old or the complete new log, its name file
must be the one that goes with it, "bak" must hold the replaced version (log and name file)
whenever the new one is in place, and nothing else may be left behind. A temporary file of a
run killed in the instant between naming it and renaming it is counted apart (the next save
of the same file clears it), and so is a new log beside the old name file (killed between the
two renames that follow each other); every other state is a failure. Then a full disk and a
read-only folder, for real where a small file system can be mounted.

    tests/crash/kill-during-save.py --tool build/test/tools/duvazi-tool \\
        --window build/test/tests/crash_window_save --count 1000
"""
import argparse
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from collections import Counter

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLE = os.path.join(HERE, "..", "data", "logbook", "three-flights.log")


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return None


def lay_out(folder, log_bytes, name_bytes):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "spring.log"), "wb") as f:
        f.write(log_bytes)
    with open(os.path.join(folder, "spring.lif"), "wb") as f:
        f.write(name_bytes)


class Saver:
    """One way of saving: lays out its files, starts the saver, knows old and new."""

    def __init__(self, kind, tool, window, work):
        self.kind = kind
        self.tool = tool
        self.window = window
        self.old_log = read(SAMPLE)
        self.old_name = "古い名前".encode("cp932")
        self.new_name = "新しい名前".encode("cp932")
        src = os.path.join(work, "source")
        lay_out(src, self.old_log, self.new_name)
        self.source = os.path.join(src, "spring.log")
        # One whole run tells the new files and how long a save takes.
        probe = os.path.join(work, "probe")
        lay_out(probe, self.old_log, self.old_name)
        started = time.monotonic()
        proc = self.start(probe)
        if self.kind == "window":
            proc.stdout.readline()
            started = time.monotonic()
        proc.wait()
        self.duration = time.monotonic() - started
        if proc.returncode != 0:
            sys.exit(f"{kind}: the save itself fails (exit {proc.returncode})")
        self.new_log = read(os.path.join(probe, "spring.log"))
        if read(os.path.join(probe, "spring.lif")) != self.new_name or self.new_log == self.old_log:
            sys.exit(f"{kind}: the save does not write what the test expects")

    def start(self, folder):
        target = os.path.join(folder, "spring.log")
        if self.kind == "tool":
            args = [self.tool, "log", "sort", self.source, target]
        else:
            args = [self.window, target, self.new_name.decode("cp932")]
        return subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def kill_once(self, folder, rng):
        lay_out(folder, self.old_log, self.old_name)
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
    log = read(os.path.join(folder, "spring.log"))
    name = read(os.path.join(folder, "spring.lif"))
    if log == saver.old_log:
        if name != saver.old_name:
            return "FAIL: old log with another name file"
        state = "old"
    elif log == saver.new_log:
        state = "new"
        if name == saver.old_name:
            # Killed between the two renames: the one instant a pair can be split.
            state = "new, killed between the two renames"
        elif name != saver.new_name:
            return "FAIL: new log with a name file of neither save"
    else:
        return "FAIL: the log is neither the old nor the new one" if log is not None else "FAIL: no log at its path"

    bak = os.path.join(folder, "bak")
    entries = sorted(os.listdir(bak)) if os.path.isdir(bak) else []
    stamped_logs = [e for e in entries if e.startswith("spring.") and e.endswith(".log") and e != "spring.log"]
    stamped_names = [e for e in entries if e.startswith("spring.") and e.endswith(".lif")]
    for e in entries:
        wanted = saver.old_name if e.endswith(".lif") else saver.old_log
        if e not in ("spring.log", *stamped_logs, *stamped_names) or read(os.path.join(bak, e)) != wanted:
            return f"FAIL: bak holds {e}, which is not the replaced version"
    if state == "new":
        if "spring.log" not in entries or len(stamped_logs) != 1 or len(stamped_names) != 1:
            return "FAIL: the new log stands without the replaced version in bak"
        if stamped_logs[0][:-4] != stamped_names[0][:-4]:
            return "FAIL: the backed-up log and name file do not pair"
    elif entries:
        state = "old, backup made"

    others = sorted(set(os.listdir(folder)) - {"spring.log", "spring.lif", "bak"})
    temps = [o for o in others if o.startswith(".spring.") and o.endswith(".tmp")]
    if len(temps) != len(others):
        return f"FAIL: left behind: {others}"
    if temps:
        state += ", temporary file left"
    return state


def disk_checks(tool, work):
    """A full disk and a read-only folder, for real on a small file system of their own
    (needs the right to mount one; skipped without it). Returns the failures."""
    mount = os.path.join(work, "tiny")
    os.makedirs(mount)
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", mount],
                      stderr=subprocess.DEVNULL).returncode != 0:
        print("disk checks: skipped (no file system of our own can be mounted here)")
        return 0
    failures = 0
    try:
        old, name = read(SAMPLE), "古い名前".encode("cp932")
        lay_out(mount, old, name)
        source = os.path.join(work, "tool", "source", "spring.log")
        target = os.path.join(mount, "spring.log")
        fd = os.open(os.path.join(mount, "filler"), os.O_WRONLY | os.O_CREAT)
        try:
            while os.write(fd, b"\0" * 512):
                pass
        except OSError:
            pass
        os.close(fd)
        for what, reason in (("full disk", "ディスクの空き容量が足りません。"),
                             ("read-only", "読み取り専用の場所です。")):
            if what == "read-only":
                os.remove(os.path.join(mount, "filler"))
                subprocess.run(["mount", "-o", "remount,ro", mount], check=True)
            before = sorted(os.listdir(mount))
            r = subprocess.run([tool, "log", "sort", source, target], capture_output=True)
            err = r.stderr.decode("utf-8", "replace")
            ok = (r.returncode == 1 and reason in err and read(target) == old
                  and read(os.path.join(mount, "spring.lif")) == name and sorted(os.listdir(mount)) == before)
            print(f"disk checks: {what}: {'reported, nothing changed' if ok else 'FAIL: ' + err.strip()}")
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
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else random.randrange(1 << 30)
    rng = random.Random(seed)
    failures = 0
    work = tempfile.mkdtemp(prefix="duvazi-crash-")
    try:
        for kind in ("tool", "window"):
            saver = Saver(kind, args.tool, args.window, os.path.join(work, kind))
            states = Counter()
            for i in range(args.count):
                folder = os.path.join(work, kind, f"run{i}")
                saver.kill_once(folder, rng)
                state = judge(saver, folder)
                states[state] += 1
                if state.startswith("FAIL"):
                    failures += 1
                    print(f"{kind} run {i}: {state} (kept in {folder})")
                else:
                    shutil.rmtree(folder)
            summary = ", ".join(f"{n} {s}" for s, n in sorted(states.items()))
            print(f"{kind}: {args.count} kills (a save takes {saver.duration * 1000:.1f} ms): {summary}")
        failures += disk_checks(args.tool, work)
    finally:
        if failures == 0:
            shutil.rmtree(work, ignore_errors=True)
    print(f"seed {seed}")
    print(f"{2 * args.count + 2 - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
