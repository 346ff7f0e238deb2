#!/usr/bin/env python3
"""Runs one program on a few dozen generated hostile inputs and checks it against its model.

Usage: hostile.py [--windows] [--emulator WORD]... PROGRAM EXECUTABLE MODEL [FAILURE_DIR]

Each generated case (programs.py) is written as an end-to-end case folder (tests/e2e/e2e_case.py):
files/, args and stdin. MODEL, the program_model executable, adds to every folder, in one run,
the standard output, standard error and status that the program must give. The program then
runs once per case, as tests/e2e/run_case.py runs a case, and must end by itself with the
model's output and status; as the model's status is 0 or 1 and a sanitizer reports on standard
error, a crash or a sanitizer's report fails the case. The runs go on side by side, so that
programs that are slow to start cost no more than a few of them. Every failing case folder is
kept under FAILURE_DIR, where run_case.py replays it.

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
from case_runner import PASSED, Limits, Runner  # noqa: E402
from e2e_case import Case, argument_parser  # noqa: E402
from reports import case_lines  # noqa: E402

# Bounds a run that never ends; a run is never judged by how long it took.
RUN_TIMEOUT_SECONDS = 300
RUNS_AT_ONCE = 8
# A sanitizer's own default exit status is 1, which these programs use for bad input.
SANITIZER_EXIT = "exitcode=86"


def report_sanitizers_apart():
    """Makes the sanitizers, where the build has them, end a run they report on with a status of
    their own."""
    for name in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"):
        os.environ[name] = ":".join(filter(None, [os.environ.get(name, ""), SANITIZER_EXIT]))


def write_file(path, content):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(content)


def write_case(folder, case, convert=lambda content: content):
    """The case as a run_case.py folder, without its expectations, with convert applied to the
    contents of its files and standard input."""
    os.makedirs(os.path.join(folder, "files"))
    write_file(os.path.join(folder, "description"),
               f"The hostile input {case.name}, against the model\n".encode())
    for path, content in case.files.items():
        write_file(os.path.join(folder, "files", path), convert(content))
    write_file(os.path.join(folder, "args"),
               b"".join(os.fsencode(arg) + b"\n" for arg in case.args))
    if case.stdin is not None:
        write_file(os.path.join(folder, "stdin"), convert(case.stdin))


def as_windows_reads(content):
    return content.replace(b"\r\n", b"\n")


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
    report_sanitizers_apart()
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
        modelled = subprocess.run(emulator + [options.model, program] + model_folders,
                                  stderr=subprocess.PIPE)
        if modelled.returncode != 0:
            sys.exit(f"the model failed: {modelled.stderr.decode(errors='replace')}")
        for folder, model_folder in zip(folders, model_folders):
            if model_folder != folder:
                for stream in ("stdout", "stderr", "status"):
                    shutil.copy(os.path.join(model_folder, "expected_" + stream), folder)
        runner = Runner(options.windows, emulator,
                        Limits(seconds=RUN_TIMEOUT_SECONDS, memory_bytes=None))
        with concurrent.futures.ThreadPoolExecutor(RUNS_AT_ONCE) as pool:
            results = list(pool.map(
                lambda folder: runner.check(executable, Case(program, folder, options.windows)),
                folders))
        failures = 0
        for folder, result in zip(folders, results):
            if result.verdict != PASSED:
                failures += 1
                kept = os.path.join(failure_dir, os.path.basename(folder))
                shutil.rmtree(kept, ignore_errors=True)
                shutil.copytree(folder, kept)
                print("\n".join(case_lines(result)) + f"\n  kept in {kept}")
    print(f"{program}: {len(cases)} hostile inputs, {failures} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
