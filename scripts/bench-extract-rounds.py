#!/usr/bin/env python3
"""Timing rounds of scripts/bench-extract.sh, run inside its X display with the wineserver up.

usage: bench-extract-rounds.py WORK ROUNDS WINEPREFIX

WORK holds payload.7z, big.exe (the stub with that archive, extracting into WORK/out-stub) and
tiny.exe (the stub with a tiny archive, into WORK/out-tiny). Each round runs native 7zz and the
stub in turn, the one that starts switching every round, and then the tiny package. Wall time
is taken around each process, CPU time from its resource usage; the wineserver's CPU time
during a stub run is shown apart, since Wine's file and thread calls are partly served there.
"""
import filecmp
import os
import shutil
import statistics
import subprocess
import sys
import time

GOAL = 1.0


def find_wineserver(prefix):
    """The pid of the wineserver of `prefix`: it works in a folder named after the prefix."""
    st = os.stat(prefix)
    suffix = "/server-%x-%x" % (st.st_dev, st.st_ino)
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if os.readlink("/proc/%s/cwd" % pid).endswith(suffix):
                return int(pid)
        except OSError:
            continue
    return None


def cpu_seconds_of(pid):
    if pid is None:
        return 0.0
    try:
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
    except OSError:
        return 0.0
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


class Timed:
    def __init__(self, wall, cpu, server):
        self.wall, self.cpu, self.server = wall, cpu, server


def run_timed(command, server_pid):
    """Runs `command` once from a clean page-cache state of earlier writes."""
    os.sync()
    server_before = cpu_seconds_of(server_pid)
    start = time.perf_counter()
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        sys.exit("bench: %s failed with %d" % (" ".join(command), process.returncode))
    server = cpu_seconds_of(server_pid) - server_before
    return Timed(wall, usage.ru_utime + usage.ru_stime, server)


def trees_differ(left, right):
    """The first difference between two folder trees (names and bytes), or None."""
    compared = filecmp.dircmp(left, right)
    if compared.left_only or compared.right_only or compared.funny_files:
        return "entries: %s" % (compared.left_only + compared.right_only + compared.funny_files)
    _, mismatch, errors = filecmp.cmpfiles(left, right, compared.common_files, shallow=False)
    if mismatch or errors:
        return "files: %s" % (mismatch + errors)
    for name in compared.common_dirs:
        difference = trees_differ(os.path.join(left, name), os.path.join(right, name))
        if difference:
            return difference
    return None


def main():
    work, rounds, prefix = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    native_out = os.path.join(work, "out-native")
    stub_out = os.path.join(work, "out-stub")
    tiny_out = os.path.join(work, "out-tiny")
    native = ["7zz", "x", "-bd", "-bso0", "-y", "-o" + native_out, os.path.join(work, "payload.7z")]
    stub = ["wine", os.path.join(work, "big.exe")]
    tiny = ["wine", os.path.join(work, "tiny.exe")]
    server = find_wineserver(prefix)
    if server is None:
        print("== bench: wineserver not found; its CPU time is not shown")

    def fresh(folder, command):
        shutil.rmtree(folder, ignore_errors=True)
        return run_timed(command, server)

    # One untimed round fills the page cache with the archive and both programs.
    for folder, command in ((native_out, native), (stub_out, stub), (tiny_out, tiny)):
        fresh(folder, command)
    times = {"native": [], "stub": [], "tiny": []}
    for i in range(rounds):
        order = [("native", native_out, native), ("stub", stub_out, stub)]
        if i % 2:
            order.reverse()
        order.append(("tiny", tiny_out, tiny))
        for name, folder, command in order:
            times[name].append(fresh(folder, command))
        print("round %d: native %.2f s, stub %.2f s, tiny stub %.2f s" %
              (i + 1, times["native"][-1].wall, times["stub"][-1].wall, times["tiny"][-1].wall))

    difference = trees_differ(native_out, stub_out)
    if difference:
        sys.exit("== bench: the outputs differ (%s)" % difference)
    print("== bench: both outputs are identical")

    def median(name, field):
        return statistics.median(getattr(t, field) for t in times[name])

    size = sum(os.path.getsize(os.path.join(d, f))
               for d, _, files in os.walk(native_out) for f in files) / 1048576
    print("payload: %.0f MB; medians of %d rounds:" % (size, rounds))
    print("  native 7zz x:       wall %6.2f s  %6.1f MB/s  CPU %5.2f s" %
          (median("native", "wall"), size / median("native", "wall"), median("native", "cpu")))
    print("  stub under Wine:    wall %6.2f s  %6.1f MB/s  CPU %5.2f s  (+ wineserver %.2f s)" %
          (median("stub", "wall"), size / median("stub", "wall"), median("stub", "cpu"),
           median("stub", "server")))
    print("  Wine's fixed start: wall %6.2f s               CPU %5.2f s  (the stub, tiny archive)" %
          (median("tiny", "wall"), median("tiny", "cpu")))
    ratio = median("stub", "wall") / median("native", "wall")
    print("  ratio stub/native:  wall %6.2fx (goal <= %.2fx: %s)  CPU %.2fx" %
          (ratio, GOAL, "met" if ratio <= GOAL else "missed",
           median("stub", "cpu") / median("native", "cpu")))


if __name__ == "__main__":
    main()
