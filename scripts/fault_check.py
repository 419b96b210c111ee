#!/usr/bin/env python3
"""Applies each fault of scripts/faults.txt to a copy of a revision and runs
the tests that should catch it.

    scripts/fault_check.py [--work DIR] [REVISION] [FAULT ...]

The revision (HEAD unless named) is exported under /tmp, built once, and its
named tests run unfaulted; then each fault in turn is applied to the copy,
built, its tests run, and the file put back. One line per fault:
killed, survived, stale (its old text is not in its file exactly once, or no
test matches its names) or build-failed. Exit status 0 when none survived.
A second run on the same revision and work folder rebuilds only what changed.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
FAULTS = HERE / "faults.txt"
TEST_TIMEOUT = 300  # seconds for one fault's tests, over ctest's own limits


class Fault:
    def __init__(self, name):
        self.name, self.file, self.tests, self.old, self.new = name, None, [], [], []


def read_faults(path):
    """'== name', 'file:', 'tests:', then '--- old' and '+++ new' texts; '# ' remarks."""
    faults, fault, block = [], None, None
    for line in path.read_text(encoding="utf-8").splitlines():
        if line.startswith("== "):
            fault, block = Fault(line[3:].strip()), None
            faults.append(fault)
        elif line == "#" or line.startswith("# "):
            block = None  # a remark ends a text
        elif fault is None or (block is None and not line.strip()):
            continue
        elif block is None and line.startswith("file:"):
            fault.file = line[5:].strip()
        elif block is None and line.startswith("tests:"):
            fault.tests = line[6:].split()
        elif line == "--- old":
            block = fault.old
        elif line == "+++ new":
            block = fault.new
        elif block is not None:
            block.append(line)
        else:
            sys.exit(f"faults.txt: unreadable line in {fault.name}: {line!r}")
    for f in faults:
        while f.new and not f.new[-1].strip():
            f.new.pop()
        if not (f.file and f.tests and f.old):
            sys.exit(f"faults.txt: {f.name} needs file:, tests: and an old text")
        f.old, f.new = "\n".join(f.old), "\n".join(f.new)
    return faults


def run(cmd, log, timeout=None, **kw):
    with open(log, "a", encoding="utf-8") as out:
        out.write(f"\n$ {' '.join(map(str, cmd))}\n")
        out.flush()
        try:
            return subprocess.run(cmd, stdout=out, stderr=subprocess.STDOUT, timeout=timeout, **kw).returncode
        except subprocess.TimeoutExpired:
            out.write("(timed out)\n")
            return -1


def export(repo, revision, src, work):
    """A fresh copy unless the work folder already holds this revision."""
    stamp = work / "revision"
    if stamp.exists() and stamp.read_text().strip() == revision and src.is_dir():
        return
    src.mkdir(parents=True, exist_ok=True)
    archive = subprocess.Popen(["git", "-C", repo, "archive", revision], stdout=subprocess.PIPE)
    subprocess.run(["tar", "-x", "-C", src], stdin=archive.stdout, check=True)
    if archive.wait() != 0:
        sys.exit(f"git archive {revision} failed")
    stamp.write_text(revision + "\n")


def load(path):
    with open(path, encoding="utf-8", newline="") as f:
        return f.read()


def save(path, text):
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)


def original(repo, revision, file):
    shown = subprocess.run(["git", "-C", repo, "show", f"{revision}:{file}"], capture_output=True)
    return shown.stdout.decode("utf-8") if shown.returncode == 0 else None


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("revision", nargs="?", default="HEAD")
    ap.add_argument("names", nargs="*", help="faults to apply (all when none)")
    ap.add_argument("--work", help="scratch folder under /tmp (default: one per revision)")
    args = ap.parse_args()

    repo = subprocess.run(["git", "-C", HERE, "rev-parse", "--show-toplevel"],
                          capture_output=True, text=True, check=True).stdout.strip()
    revision = subprocess.run(["git", "-C", repo, "rev-parse", "--verify", args.revision + "^{commit}"],
                              capture_output=True, text=True).stdout.strip()
    if not revision:
        sys.exit(f"unknown revision {args.revision}")
    faults = read_faults(FAULTS)
    unknown = set(args.names) - {f.name for f in faults}
    if unknown:
        sys.exit("unknown faults: " + " ".join(sorted(unknown)))
    faults = [f for f in faults if not args.names or f.name in args.names]

    work = Path(args.work or Path(tempfile.gettempdir()) / f"fault_check-{revision[:12]}")
    src, build, log = work / "src", work / "build", work / "fault_check.log"
    work.mkdir(parents=True, exist_ok=True)
    started = time.monotonic()
    print(f"{revision[:12]} in {work} (log: {log})", flush=True)
    export(repo, revision, src, work)
    # A run cut short may have left a fault in place.
    for file in {f.file for f in faults}:
        text = original(repo, revision, file)
        if text is not None and load(src / file) != text:
            save(src / file, text)

    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    build_cmd = ["nice", "cmake", "--build", build, "-j2"]
    if (run(["cmake", "-S", src, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], log) != 0
            or run(build_cmd, log) != 0):
        sys.exit(f"the unfaulted copy does not build: see {log}")
    listed = subprocess.run(["ctest", "--test-dir", build, "-N"], capture_output=True, text=True).stdout
    tests = re.findall(r"Test\s+#\d+: (\S+)", listed)
    help_text = subprocess.run(["cmake", "--build", build, "--target", "help"], capture_output=True, text=True).stdout
    targets = set(re.findall(r"^\.\.\. (\S+)", help_text, re.M))

    def chosen(fault):
        return [t for t in tests if any(re.search(p, t) for p in fault.tests)]

    def build_and_test(names):
        # Only the programs the tests run; a test that is no program needs all.
        wanted = ["all"] if any(n not in targets for n in names) else names
        if run(build_cmd + ["--target", *wanted], log) != 0:
            return "build-failed"
        cmd = ["nice", "ctest", "--test-dir", build, "-j4", "--stop-on-failure",
               "-R", "^(" + "|".join(map(re.escape, names)) + ")$"]
        return "passed" if run(cmd, log, timeout=TEST_TIMEOUT, env=env) == 0 else "failed"

    every = sorted({t for f in faults for t in chosen(f)})
    if build_and_test(every) != "passed":
        sys.exit(f"the unfaulted copy fails its tests: see {log}")
    print(f"baseline: {len(every)} tests pass unfaulted ({time.monotonic() - started:.0f} s)", flush=True)

    counts = {}
    for fault in faults:
        path, names = src / fault.file, chosen(fault)
        text = load(path) if path.exists() else ""
        with open(log, "a", encoding="utf-8") as out:
            out.write(f"\n==== {fault.name}\n")
        if not names or text.count(fault.old) != 1:
            outcome = "stale"
        else:
            save(path, text.replace(fault.old, fault.new))
            try:
                outcome = {"passed": "survived", "failed": "killed"}.get(build_and_test(names), "build-failed")
            finally:
                save(path, text)
        counts[outcome] = counts.get(outcome, 0) + 1
        print(f"{outcome} {fault.name}", flush=True)

    totals = ", ".join(f"{counts.get(k, 0)} {k}" for k in ("killed", "survived", "stale", "build-failed"))
    print(f"{len(faults)} faults: {totals} ({time.monotonic() - started:.0f} s)")
    return 1 if counts.get("survived") else 0


if __name__ == "__main__":
    sys.exit(main())
