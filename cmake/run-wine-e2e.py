#!/usr/bin/env python3
"""The end-to-end tests against the Windows build, under wine.

    run-wine-e2e.py LINUX_BUILD WINDOWS_BUILD

Runs the tests of the *_e2e.cpp files of the Linux build's test programs with
QV_WINDOWS_BUILD set, so that their fixture starts WINDOWS_BUILD/bin/NAME.exe
under wine instead of the Linux program (tests/support/WindowsProgram.h).
The fixture maps each test's drives into the wine prefix, and one prefix
serves one test program at a time: every parallel slot gets a prefix of its
own, made beside the kept prefix (WINEPREFIX) from its registry, sharing its
system drive. The fixture keeps one wine session while the drives' letters
and labels stay the same; the run ends the slots' servers.

Prints every skip with its reason and one line "N passed, N failed, N
skipped" for the tests that belong to the leg (the fixture records it); exits
with 1 when a test failed. QV_WINE_E2E_JOBS sets the number of slots;
QV_WINE_E2E_ONLY names the test programs to run (qv_test_fileops,...) and
QV_WINE_E2E_FILTER the tests, as patterns of gtest's filter without its
negative part (CopyMoveTest.*:ScriptE2E.Scripts*).
"""
import fnmatch
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

TIMEOUT = 900  # seconds one run of a test program may take


def wine_server():
    wine = os.environ.get("QV_WINE", "wine64")
    beside = os.path.join(os.path.dirname(wine), "wineserver")
    return beside if os.access(beside, os.X_OK) else "wineserver"


def make_slot_prefix(base, path):
    """A prefix that shares the kept prefix's system drive and copies its
    registry, with drives of its own (C: and Z: only, to begin with)."""
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(os.path.join(path, "dosdevices"))
    for name in os.listdir(base):
        source = os.path.join(base, name)
        if name in ("dosdevices", "drive_c") or not os.path.isfile(source):
            continue
        shutil.copy2(source, os.path.join(path, name))
    os.symlink(os.path.join(base, "drive_c"), os.path.join(path, "drive_c"))
    os.symlink("../drive_c", os.path.join(path, "dosdevices", "c:"))
    os.symlink("/", os.path.join(path, "dosdevices", "z:"))


def listed_tests(exe, env):
    """The enabled tests of the program's *_e2e.cpp files."""
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "list.json")
        subprocess.run([exe, "--gtest_list_tests", "--gtest_output=json:" + out], env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        if not os.path.exists(out):
            return None
        with open(out) as f:
            listing = json.load(f)
    names = []
    for suite in listing.get("testsuites", []):
        for test in suite.get("testsuite", []):
            if not test.get("file", "").endswith("_e2e.cpp"):
                continue
            if suite["name"].startswith("DISABLED_") or test["name"].startswith("DISABLED_"):
                continue
            names.append(suite["name"] + "." + test["name"])
    return names


def skip_reasons(output):
    """Test name -> the message of its skip, from gtest's plain output."""
    reasons = {}
    pending = []
    for line in output.splitlines():
        if line.startswith("[ RUN      ]"):
            pending = []
        elif line.startswith("[  SKIPPED ]") and " ms)" in line:
            name = line[len("[  SKIPPED ]"):].strip().split(" (")[0]
            text = " ".join(l.strip() for l in pending if l.strip() and not l.rstrip().endswith("Skipped"))
            reasons[name] = text
        else:
            pending.append(line)
    return reasons


class Totals:
    def __init__(self):
        self.lock = threading.Lock()
        self.passed = 0
        self.failed = 0
        self.skipped = 0
        self.outside = 0
        self.failures = []
        self.skips = []


def run_chunk(exe, names, env, totals):
    name = os.path.basename(exe)
    with tempfile.TemporaryDirectory() as tmp:
        report = os.path.join(tmp, "report.json")
        # The output goes to a file, not a pipe: a wine process that the
        # program's session started (winedevice.exe, for one) may keep the
        # descriptors it was given after the program has ended, and a pipe
        # would then not end until that session's server is stopped.
        log = os.path.join(tmp, "output.txt")
        with open(log, "wb") as out:
            try:
                done = subprocess.run([exe, "--gtest_filter=" + ":".join(names), "--gtest_output=json:" + report],
                                      env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                                      timeout=TIMEOUT)
                rc = done.returncode
                stopped = ""
            except subprocess.TimeoutExpired:
                rc = -1
                stopped = "\n%s: stopped after %d s\n" % (name, TIMEOUT)
        with open(log, "rb") as f:
            output = f.read().decode("utf-8", "replace") + stopped
        results = {}
        if os.path.exists(report):
            with open(report) as f:
                for suite in json.load(f).get("testsuites", []):
                    for test in suite.get("testsuite", []):
                        results[suite["name"] + "." + test["name"]] = test
    reasons = skip_reasons(output)
    with totals.lock:
        chunk_failed = []
        for test in names:
            result = results.get(test)
            if result is None:
                chunk_failed.append(test)  # the program ended before it reported the test
                continue
            failed = bool(result.get("failures"))
            if result.get("leg") != "windows":
                totals.outside += 1
                if failed:
                    chunk_failed.append(test)
                continue
            if failed:
                chunk_failed.append(test)
            elif result.get("result") == "SKIPPED":
                totals.skipped += 1
                totals.skips.append("%s: %s" % (test, reasons.get(test, "(no reason given)")))
            else:
                totals.passed += 1
        totals.failed += len(chunk_failed)
        totals.failures += chunk_failed
        if chunk_failed or rc not in (0, 1):
            print("-- %s (exit code %d)" % (name, rc))
            print(output)
        sys.stdout.flush()


def usable_cores():
    """The cores this process may run on: a run bound to some cores (taskset,
    a container's cpuset) gets one slot per core it has, not per core the
    machine has."""
    try:
        return len(os.sched_getaffinity(0)) or 1
    except (AttributeError, OSError):
        return os.cpu_count() or 2


def main():
    linux_build, windows_build = (os.path.abspath(p) for p in sys.argv[1:3])
    source = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
    base = os.environ["WINEPREFIX"]
    jobs = int(os.environ.get("QV_WINE_E2E_JOBS") or usable_cores())
    env = dict(os.environ)
    env.update({
        "TZ": "UTC",
        "QUORVANE_DRIVES": "C=/;S=/dev/shm",
        "QV_SOURCE_DIR": source,
        "QV_BINARY_DIR": linux_build,
        "QV_WINDOWS_BUILD": windows_build,
        "WINEDEBUG": "-all",
    })
    started = time.time()
    # The kept prefix's server writes its registry out when it ends.
    subprocess.run([wine_server(), "-k"], stderr=subprocess.DEVNULL)
    subprocess.run([wine_server(), "-w"], stderr=subprocess.DEVNULL)

    tests_dir = os.path.join(linux_build, "tests")
    patterns = [p for p in os.environ.get("QV_WINE_E2E_FILTER", "").split(":") if p]
    work = []
    for entry in sorted(os.listdir(tests_dir)):
        exe = os.path.join(tests_dir, entry)
        only = os.environ.get("QV_WINE_E2E_ONLY")
        if only and entry not in only.split(","):
            continue
        if not entry.startswith("qv_test_") or not os.access(exe, os.X_OK) or os.path.isdir(exe):
            continue
        names = listed_tests(exe, env)
        if names is None:
            print("-- %s: could not list its tests" % entry)
            work.append((exe, ["(listing)"]))
            continue
        if patterns:
            names = [n for n in names if any(fnmatch.fnmatchcase(n, p) for p in patterns)]
        # Runs of about eight tests, so that the slots share the work evenly.
        for first in range(0, len(names), 8):
            work.append((exe, names[first:first + 8]))

    totals = Totals()
    queue = list(work)
    queue_lock = threading.Lock()

    def slot(number):
        prefix = "%s-e2e%d" % (base, number)
        make_slot_prefix(base, prefix)
        slot_env = dict(env, WINEPREFIX=prefix)
        try:
            while True:
                with queue_lock:
                    if not queue:
                        return
                    exe, names = queue.pop(0)
                if names == ["(listing)"]:
                    with totals.lock:
                        totals.failed += 1
                        totals.failures.append(os.path.basename(exe))
                    continue
                run_chunk(exe, names, slot_env, totals)
        finally:
            subprocess.run([wine_server(), "-k"], env=slot_env, stderr=subprocess.DEVNULL)

    threads = [threading.Thread(target=slot, args=(n,)) for n in range(1, jobs + 1)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()

    for line in totals.skips:
        print("skipped under wine: " + line)
    if totals.failures:
        print("failed under wine: " + " ".join(totals.failures))
    print("(%d tests of the same files start no Windows program; they belong to the Linux leg)" % totals.outside)
    print("wine end-to-end (%d slots, %.0f s): %d passed, %d failed, %d skipped"
          % (jobs, time.time() - started, totals.passed, totals.failed, totals.skipped))
    return 1 if totals.failed else 0


if __name__ == "__main__":
    sys.exit(main())
