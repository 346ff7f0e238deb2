#!/usr/bin/env python3
"""Runs one program on a few dozen generated hostile inputs and checks it against its model.

Usage: hostile.py [--windows] [--emulator WORD]... PROGRAM EXECUTABLE MODEL [FAILURE_DIR]

Each generated case (programs.py) is written as a case folder of tests/e2e/run_case.py: files/,
args and stdin. MODEL, the program_model executable, adds to every folder, in one run, the
standard output, standard error and status that the program must give. The program then runs
once per case with the case's files/ as its working directory. A run passes when it ends by
itself with status 0 or 1, no sanitizer reports on standard error, and its output and status
are the model's. The runs go on side by side, so that programs that are slow to start cost no
more than a few of them. Every failing case folder is kept under FAILURE_DIR, where
run_case.py replays it.

--emulator, once per word, gives the command that runs the executables (such as wine), and
--windows says that they were built for Windows. A Windows program reads each CR LF of its input
as one newline and writes one for each newline: the model, which keeps to no platform's
convention, is given the inputs with every CR LF made a newline, and what the program writes is
compared with every CR LF made a newline again.
"""

import concurrent.futures
import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__ folders
import programs  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from e2e_case import argument_parser, decode_windows_text  # noqa: E402

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


def write_case(folder, case, convert=lambda content: content):
    """The case as a run_case.py folder, without its expectations, with convert applied to the
    contents of its files and standard input."""
    os.makedirs(os.path.join(folder, "files"))
    for path, content in case.files.items():
        write_file(os.path.join(folder, "files", path), convert(content))
    write_file(os.path.join(folder, "args"),
               b"".join(os.fsencode(arg) + b"\n" for arg in case.args))
    if case.stdin is not None:
        write_file(os.path.join(folder, "stdin"), convert(case.stdin))


def as_windows_reads(content):
    return content.replace(b"\r\n", b"\n")


def run_program(command, executable, folder, env):
    """Runs the command, given the case's arguments, from the file executable (None: the
    command's first word), on the case in folder. Returns (status, stdout, stderr); status is
    negative when a signal ended the program and None when it did not end."""
    args = read_file(os.path.join(folder, "args")).split(b"\n")[:-1]
    stdin_path = os.path.join(folder, "stdin")
    with open(stdin_path if os.path.exists(stdin_path) else os.devnull, "rb") as stdin:
        try:
            done = subprocess.run(command + args, executable=executable,
                                  cwd=os.path.join(folder, "files"),
                                  stdin=stdin, capture_output=True, env=env,
                                  timeout=RUN_TIMEOUT_SECONDS)
        except subprocess.TimeoutExpired:
            return None, b"", b""
    return done.returncode, done.stdout, done.stderr


def difference(stream, expected, actual):
    """Where actual first departs from expected, with a little of both sides from there."""
    at = next((i for i, (e, a) in enumerate(zip(expected, actual)) if e != a),
              min(len(expected), len(actual)))
    return (f"{stream} differs from the model's at byte {at}: "
            f"model {expected[at:at + 60]!r}, program {actual[at:at + 60]!r}")


def problems_of(folder, run, windows):
    """What is wrong with the run, against the model's expectations in folder."""
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
        if windows:
            actual, complaint = decode_windows_text(actual)
            if complaint:
                found.append(f"{stream}: {complaint}")
                continue
        if actual != expected:
            found.append(difference(stream, expected, actual))
    return found


def main():
    parser = argument_parser(__doc__)
    parser.add_argument("program")
    parser.add_argument("executable")
    parser.add_argument("model")
    parser.add_argument("failure_root", nargs="?", default="hostile-failures")
    options = parser.parse_args()
    program, emulator = options.program, options.emulator
    executable = os.path.abspath(options.executable)
    failure_dir = os.path.join(os.path.abspath(options.failure_root), program)
    env = sanitizer_environment()
    cases = programs.cases_for(program)
    with tempfile.TemporaryDirectory(prefix="hostile-") as scratch:
        folders = [os.path.join(scratch, case.name) for case in cases]
        model_folders = folders
        if options.windows:
            model_folders = [os.path.join(scratch, "model", case.name) for case in cases]
        for folder, model_folder, case in zip(folders, model_folders, cases):
            write_case(folder, case)
            if options.windows:
                write_case(model_folder, case, as_windows_reads)
        modelled = subprocess.run(emulator + [options.model, program] + model_folders, env=env,
                                  stderr=subprocess.PIPE)
        if modelled.returncode != 0:
            sys.exit(f"the model failed: {modelled.stderr.decode(errors='replace')}")
        if emulator:
            command, started = emulator + [executable], None
        else:  # the program sees its plain name, as when it is started from a shell
            command, started = [os.path.basename(executable)], executable
        with concurrent.futures.ThreadPoolExecutor(RUNS_AT_ONCE) as pool:
            runs = list(pool.map(lambda folder: run_program(command, started, folder, env),
                                 folders))
        failures = 0
        for folder, model_folder, run in zip(folders, model_folders, runs):
            found = problems_of(model_folder, run, options.windows)
            if found:
                failures += 1
                kept = os.path.join(failure_dir, os.path.basename(folder))
                shutil.rmtree(kept, ignore_errors=True)
                shutil.copytree(folder, kept)
                if model_folder != folder:
                    for stream in ("stdout", "stderr", "status"):
                        shutil.copy(os.path.join(model_folder, "expected_" + stream), kept)
                print(f"FAIL {os.path.basename(folder)}: {'; '.join(found)}\n    kept in {kept}")
    print(f"{program}: {len(cases)} hostile inputs, {failures} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
