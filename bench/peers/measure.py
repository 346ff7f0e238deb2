#!/usr/bin/env python3
"""Runs a command several times and prints its median wall time and peak memory.

Usage: measure.py RUNS CWD STDIN STDOUT -- COMMAND...
Prints "SECONDS KIB": the median wall-clock seconds over RUNS runs and the largest resident set
of the command's process, as /usr/bin/time reports it. (wait4 on a child of this script would
not do: the resident set of the forked Python interpreter counts until the exec.) Standard
output of the last run is left in STDOUT, standard error in STDOUT.err; a failing run ends the
measurement.
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time

TIME = "/usr/bin/time"


def one_run(command, cwd, stdin_path, stdout_path):
    with open(stdin_path, "rb") as stdin, open(stdout_path, "wb") as stdout, \
            open(stdout_path + ".err", "wb") as stderr, tempfile.NamedTemporaryFile("r") as peak:
        start = time.perf_counter()
        status = subprocess.call([TIME, "-f", "%M", "-o", peak.name] + command, cwd=cwd,
                                 stdin=stdin, stdout=stdout, stderr=stderr)
        elapsed = time.perf_counter() - start
        if status != 0:
            sys.exit(f"{command[0]} ended with status {status}")
        return elapsed, int(peak.read().split()[-1])


def main():
    runs, cwd, stdin_path, stdout_path, separator = sys.argv[1:6]
    command = sys.argv[6:]
    if separator != "--" or not command:
        sys.exit("usage: measure.py RUNS CWD STDIN STDOUT -- COMMAND...")
    if not os.access(TIME, os.X_OK):
        sys.exit(f"{TIME} is needed to measure peak memory")
    results = [one_run(command, cwd, stdin_path, stdout_path) for _ in range(int(runs))]
    print(f"{statistics.median(t for t, _ in results):.3f} {max(m for _, m in results)}")


if __name__ == "__main__":
    main()
