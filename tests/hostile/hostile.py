#!/usr/bin/env python3
"""Runs one program on a few dozen generated hostile inputs and checks it against its model.

Usage: hostile.py PROGRAM EXECUTABLE MODEL [FAILURE_DIR]

Each generated case (programs.py) is written as a case folder of tests/e2e/run_case.py: files/,
args and stdin. MODEL, the program_model executable, adds to every folder, in one run, the
standard output, standard error and status that the program must give. The program then runs
once per case with the case's files/ as its working directory. A run passes when it ends by
itself with status 0 or 1, no sanitizer reports on standard error, and its output and status
are the model's. The runs go on side by side, so that programs that are slow to start cost no
more than a few of them. Every failing case folder is kept under FAILURE_DIR, where
run_case.py replays it.
"""

import concurrent.futures
import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__ folders
import programs  # noqa: E402

SANITIZER_MARKS = (b"Sanitizer", b"runtime error")
# Bounds a run that never ends; a run is never judged by how long it took.
RUN_TIMEOUT_SECONDS = 300
RUNS_AT_ONCE = 8
# A sanitizer's own default exit status is 1, which these programs use for bad input.
SANITIZER_EXIT = "exitcode=86"


def sanitizer_environment():
    env = dict(os.environ)
    for name in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"):
        env[name] = ":".join(filter(None, [env.get(name, ""), SANITIZER_EXIT]))
    return env


def write_file(path, content):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(content)


def read_file(path):
    with open(path, "rb") as data:
        return data.read()


def write_case(folder, case):
    """The case as a run_case.py folder, without its expectations."""
    os.makedirs(os.path.join(folder, "files"))
    for path, content in case.files.items():
        write_file(os.path.join(folder, "files", path), content)
    write_file(os.path.join(folder, "args"),
               b"".join(os.fsencode(arg) + b"\n" for arg in case.args))
    if case.stdin is not None:
        write_file(os.path.join(folder, "stdin"), case.stdin)


def run_program(executable, folder, env):
    """Returns (status, stdout, stderr); status is negative when a signal ended the program and
    None when it did not end."""
    args = read_file(os.path.join(folder, "args")).split(b"\n")[:-1]
    stdin_path = os.path.join(folder, "stdin")
    with open(stdin_path if os.path.exists(stdin_path) else os.devnull, "rb") as stdin:
        try:
            done = subprocess.run([os.path.basename(executable)] + args, executable=executable,
                                  cwd=os.path.join(folder, "files"), stdin=stdin,
                                  capture_output=True, env=env, timeout=RUN_TIMEOUT_SECONDS)
        except subprocess.TimeoutExpired:
            return None, b"", b""
    return done.returncode, done.stdout, done.stderr


def difference(stream, expected, actual):
    """Where actual first departs from expected, with a little of both sides from there."""
    at = next((i for i, (e, a) in enumerate(zip(expected, actual)) if e != a),
              min(len(expected), len(actual)))
    return (f"{stream} differs from the model's at byte {at}: "
            f"model {expected[at:at + 60]!r}, program {actual[at:at + 60]!r}")


def problems_of(folder, run):
    status, stdout, stderr = run
    found = []
    if status is None:
        found.append(f"no end within {RUN_TIMEOUT_SECONDS} s")
    elif status < 0:
        found.append(f"ended by signal {-status}")
    elif status not in (0, 1):
        found.append(f"exit status {status}")
    if any(mark in stderr for mark in SANITIZER_MARKS):
        found.append("sanitizer report on standard error")
    if found:
        return found + [f"standard error ends {stderr[-400:]!r}"]
    expected_status = int(read_file(os.path.join(folder, "expected_status")))
    if status != expected_status:
        found.append(f"status {status}, the model's {expected_status}")
    for stream, actual in (("stdout", stdout), ("stderr", stderr)):
        expected = read_file(os.path.join(folder, "expected_" + stream))
        if actual != expected:
            found.append(difference(stream, expected, actual))
    return found


def main():
    if len(sys.argv) not in (4, 5):
        sys.exit("usage: hostile.py PROGRAM EXECUTABLE MODEL [FAILURE_DIR]")
    program, executable, model = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    failure_root = sys.argv[4] if len(sys.argv) == 5 else "hostile-failures"
    failure_dir = os.path.join(os.path.abspath(failure_root), program)
    env = sanitizer_environment()
    cases = programs.cases_for(program)
    with tempfile.TemporaryDirectory(prefix="hostile-") as scratch:
        folders = [os.path.join(scratch, case.name) for case in cases]
        for folder, case in zip(folders, cases):
            write_case(folder, case)
        modelled = subprocess.run([model, program] + folders, env=env, stderr=subprocess.PIPE)
        if modelled.returncode != 0:
            sys.exit(f"the model failed: {modelled.stderr.decode(errors='replace')}")
        with concurrent.futures.ThreadPoolExecutor(RUNS_AT_ONCE) as pool:
            runs = list(pool.map(lambda folder: run_program(executable, folder, env), folders))
        failures = 0
        for folder, run in zip(folders, runs):
            found = problems_of(folder, run)
            if found:
                failures += 1
                kept = os.path.join(failure_dir, os.path.basename(folder))
                shutil.rmtree(kept, ignore_errors=True)
                shutil.copytree(folder, kept)
                print(f"FAIL {os.path.basename(folder)}: {'; '.join(found)}\n    kept in {kept}")
    print(f"{program}: {len(cases)} hostile inputs, {failures} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
