#!/usr/bin/env python3
"""Times tools/check-program against CTest's end-to-end tests, and with one run at a time
against several.

1. For each program: CTest's end-to-end tests of it (`ctest -R '^PROGRAM\\.e2e\\.' -j JOBS`)
   against `check-program PROGRAM EXECUTABLE` (-j JOBS), on the same build.
2. A class: copies of one program's executable (COPIES of them, each under its own name),
   checked in one call with -j 1 and with -j JOBS; the ratio of the two times.

Each command runs ROUNDS times, the order alternating, and the median wall-clock time is
reported. Times are of this machine as it is: run it on an idle one.

Usage: python3 bench/check/run_bench.py [--build DIR] [--rounds N] [--copies N] [--jobs N]
                                        [--class-program NAME]
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
CHECKER = os.path.join(REPO, "tools", "check-program")
FOLDERS = {"go_shopping": "store", "bst_driver": "bst", "word_count_driver": "wordcount",
           "word_count_solution": "wordcount", "roster_test": "roster"}


def seconds_of(command, cwd):
    started = time.monotonic()
    done = subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if done.returncode != 0:
        sys.exit(f"failed: {' '.join(command)}\n{done.stderr.decode(errors='replace')}")
    return time.monotonic() - started


def medians(commands, rounds, cwd):
    """The median time of each command over the rounds, the order alternating."""
    times = [[] for _ in commands]
    for round_number in range(rounds):
        order = list(range(len(commands)))
        if round_number % 2:
            order.reverse()
        for index in order:
            times[index].append(seconds_of(commands[index], cwd))
    return [statistics.median(t) for t in times]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(REPO, "build", "default"))
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--copies", type=int, default=30)
    parser.add_argument("--jobs", type=int, default=os.cpu_count())
    parser.add_argument("--class-program", default="go_shopping", choices=FOLDERS)
    options = parser.parse_args()
    build = os.path.abspath(options.build)
    out = os.path.join(REPO, "bench", "out", "check")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    python = sys.executable

    print(f"{'program':22} {'ctest e2e':>10} {'check-program':>14}  (-j {options.jobs}, "
          f"median of {options.rounds})")
    for program, folder in FOLDERS.items():
        executable = os.path.join(build, folder, program)
        ctest = ["ctest", "--test-dir", build, "-R", f"^{program}\\.e2e\\.", "-j",
                 str(options.jobs)]
        check = [python, CHECKER, "-j", str(options.jobs), program, executable]
        ctest_time, check_time = medians([ctest, check], options.rounds, out)
        print(f"{program:22} {ctest_time:9.2f}s {check_time:13.2f}s")

    program = options.class_program
    copies = []
    for number in range(options.copies):
        copy = os.path.join(out, f"student{number:02d}", program)
        os.makedirs(os.path.dirname(copy))
        shutil.copy2(os.path.join(build, FOLDERS[program], program), copy)
        copies.append(os.path.relpath(copy, out))
    one, several = medians([[python, CHECKER, "-j", "1", program] + copies,
                            [python, CHECKER, "-j", str(options.jobs), program] + copies],
                           options.rounds, out)
    print(f"{options.copies} copies of {program}: -j 1 {one:.1f}s, -j {options.jobs} "
          f"{several:.1f}s, ratio {several / one:.2f}")


if __name__ == "__main__":
    main()
