#!/usr/bin/env python3
"""Runs one program on a few hundred generated hostile inputs and checks that it copes.

Usage: hostile.py PROGRAM EXECUTABLE [FAILURE_DIR]

Each input is run twice, each time in a fresh scratch directory. A run passes when the program
ends by itself with status 0 or 1, no sanitizer reports on standard error, both runs agree on
standard output, standard error and status, and the output matches the model (programs.py, and
shop_model.py for go_shopping). Every failing input is kept under FAILURE_DIR as a case folder
that tests/e2e/run_case.sh can replay.
"""

import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__ folders
import programs  # noqa: E402

SANITIZER_MARKS = (b"Sanitizer", b"runtime error")
RUN_TIMEOUT_SECONDS = 60
# A sanitizer's own default exit status is 1, which these programs use for bad input.
SANITIZER_EXIT = "exitcode=86"


def sanitizer_environment():
    env = dict(os.environ)
    for name in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"):
        env[name] = ":".join(filter(None, [env.get(name, ""), SANITIZER_EXIT]))
    return env


def populate(work, case):
    for path, content in case.files.items():
        target = os.path.join(work, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as out:
            out.write(content)


def open_stdin(work, case):
    """A raw descriptor for standard input, a file as a shell redirection would give."""
    if case.stdin is None:
        return os.open(os.devnull, os.O_RDONLY)
    path = os.path.join(work, "..", "stdin")
    with open(path, "wb") as out:
        out.write(case.stdin)
    return os.open(path, os.O_RDONLY)


def run_once(executable, case, env):
    """Returns (status, stdout, stderr); status is negative when a signal ended the program."""
    with tempfile.TemporaryDirectory(prefix="hostile-") as scratch:
        work = os.path.join(scratch, "work")
        os.mkdir(work)
        populate(work, case)
        stdin = open_stdin(work, case)
        try:
            done = subprocess.run([os.path.basename(executable)] + case.args,
                                  executable=executable, cwd=work, stdin=stdin,
                                  capture_output=True, env=env, timeout=RUN_TIMEOUT_SECONDS)
        except subprocess.TimeoutExpired:
            return None, b"", b"timed out"
        finally:
            os.close(stdin)
        return done.returncode, done.stdout, done.stderr


def problems_of(case, first, second):
    status, stdout, stderr = first
    found = []
    if status is None:
        found.append(f"no end within {RUN_TIMEOUT_SECONDS} s")
    elif status < 0:
        found.append(f"ended by signal {-status}")
    elif status not in (0, 1):
        found.append(f"exit status {status}")
    if any(mark in stderr for mark in SANITIZER_MARKS):
        found.append("sanitizer report on standard error")
    if second != first:
        found.append("second run differs from the first")
    if not found:
        found += case.expected.mismatches(status, stdout, stderr)
    return found


def keep_reproducer(failure_dir, case):
    """Writes the case as a run_case.sh folder, with what the model expects."""
    folder = os.path.join(failure_dir, case.name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    populate(os.path.join(folder, "files"), case)
    with open(os.path.join(folder, "args"), "wb") as out:
        out.write(b"".join(os.fsencode(arg) + b"\n" for arg in case.args))
    if case.stdin is not None:
        with open(os.path.join(folder, "stdin"), "wb") as out:
            out.write(case.stdin)
    for stream in ("stdout", "stderr"):
        with open(os.path.join(folder, "expected_" + stream), "wb") as out:
            out.write(getattr(case.expected, stream))
    with open(os.path.join(folder, "expected_status"), "w") as out:
        out.write(f"{case.expected.status}\n")
    return folder


def describe(first):
    status, stdout, stderr = first
    return f"status {status}, stdout {stdout[:120]!r}, stderr {stderr[-400:]!r}"


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit("usage: hostile.py PROGRAM EXECUTABLE [FAILURE_DIR]")
    program, executable = sys.argv[1], os.path.abspath(sys.argv[2])
    failure_root = sys.argv[3] if len(sys.argv) == 4 else "hostile-failures"
    failure_dir = os.path.join(os.path.abspath(failure_root), program)
    env = sanitizer_environment()
    cases = programs.cases_for(program)
    failures = 0
    for case in cases:
        first = run_once(executable, case, env)
        second = run_once(executable, case, env)
        found = problems_of(case, first, second)
        if found:
            failures += 1
            folder = keep_reproducer(failure_dir, case)
            print(f"FAIL {case.name}: {'; '.join(found)}")
            print(f"    {describe(first)}\n    kept in {folder}")
    print(f"{program}: {len(cases)} hostile inputs, {failures} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
